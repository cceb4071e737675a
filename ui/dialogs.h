// Every modal box and the open-file dialog of the main window go through this
// one class, so a scripted instance (tests, the screenshot tool) can answer
// them in advance and record what was shown, and never blocks on a box nobody
// answers. The interactive instance the application uses keeps nothing.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include "batch/scripted_dialogs.h"
#include "batch/window_port.h"

class QFileDialog;
class QWidget;

namespace imgcrypt {

// The dialog filter "description|patterns|description|patterns" in Qt's
// "description (pattern pattern)" form. Patterns are ';'-separated on the
// Windows side, blank-separated here; "*.*" means every file, which is "*"
// on systems whose file names need not contain a dot.
QStringList QtNameFilters(const QString& windowsFilter);

// The settings of the open dialog the logic keeps: multi-select, resizable,
// the filter's first entry selected (the logic's filter indexes 0 and 4 both
// mean the first entry), the initial folder and default name when given.
// Qt's own dialog is used: its name filters ignore letter case, as the
// Windows dialog does, whatever the platform's native dialog would do.
void ConfigureOpenDialog(QFileDialog& dialog, const OpenDialogRequest& request);

// The accepted dialog's answer. A file-name box holding quoted names
// ("b.jpg" "a.jpg") answers with every named file that exists, in the order
// named: Qt's own answer prefers the list's selection, which the dialog
// toggles as the text changes and which loses a name when a list is pasted.
QStringList ChosenFiles(const QFileDialog& dialog);

class Dialogs : public ScriptedDialogs<QString, QStringList> {
  public:
    explicit Dialogs(Mode mode = Mode::Interactive) : ScriptedDialogs(mode) {}

    void SetParentWidget(QWidget* parent) { parent_ = parent; }

    // Plain message: information icon, one OK button.
    void Message(const QString& caption, const QString& text);
    // "Confirm" with "&Yes" and "&No", Yes the default, Esc answering No.
    bool Confirm(const QString& text);
    // The default error handler's box: error icon, one OK button.
    void Error(const QString& caption, const QString& text);
    // Chosen full paths in the dialog's order; empty when cancelled.
    QStringList OpenFiles(const OpenDialogRequest& request);

  private:
    // A box with one OK button: the plain message and the error box.
    void ShowWithOk(Kind kind, QMessageBox::Icon icon, const QString& caption, const QString& text);

    QWidget* parent_ = nullptr;
};

}  // namespace imgcrypt
