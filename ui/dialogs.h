// The Qt window's boxes and open-file dialog: Qt's message boxes, and Qt's
// own file dialog set up as the Windows dialog behaves.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <vector>

#include "batch/dialog_filter.h"
#include "batch/dialogs.h"

class QFileDialog;
class QWidget;

namespace imgcrypt {

// The filter's entries in Qt's "description (pattern pattern)" form; "*.*"
// means every file, which is "*" on systems whose file names need not
// contain a dot.
QStringList QtNameFilters(const std::vector<FilterEntry>& entries);

// The settings of the open dialog the logic keeps: multi-select, resizable,
// the filter's opening entry selected, the initial folder and default name
// when given. Qt's own dialog is used: its name filters ignore letter case,
// as the Windows dialog does, whatever the platform's native dialog would do.
void ConfigureOpenDialog(QFileDialog& dialog, const OpenDialogRequest& request);

// The accepted dialog's answer. A file-name box holding quoted names
// ("b.jpg" "a.jpg") answers with every named file that exists, in the order
// named: Qt's own answer prefers the list's selection, which the dialog
// toggles as the text changes and which loses a name when a list is pasted.
QStringList ChosenFiles(const QFileDialog& dialog);

class QtDialogs final : public Dialogs {
  public:
    // The boxes are modal to `parent`.
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    void Message(const std::string& caption, const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void Error(const std::string& caption, const std::string& text) override;
    std::vector<std::string> OpenFiles(const OpenDialogRequest& request) override;

  private:
    // A box with one OK button: the plain message and the error box.
    void ShowWithOk(QMessageBox::Icon icon, const std::string& caption, const std::string& text);

    QWidget* parent_;
};

}  // namespace imgcrypt
