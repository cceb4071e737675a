#include "ui/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QtDebug>

#include "batch/language_tables.h"

namespace imgcrypt {

namespace {

// The logic's texts break lines with a lone carriage return, which the
// Windows box shows as a line break; Qt's labels want a line feed.
QString DisplayText(QString text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
            out += u'\n';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

QStringList QtNameFilters(const QString& windowsFilter) {
    const QStringList fields = windowsFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : fields.at(i + 1).split(u';', Qt::SkipEmptyParts)) {
            patterns << (pattern.trimmed() == QStringLiteral("*.*") ? QStringLiteral("*")
                                                                    : pattern.trimmed());
        }
        filters << fields.at(i) + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters;
}

void ConfigureOpenDialog(QFileDialog& dialog, const OpenDialogRequest& request) {
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The Windows dialog shows only the descriptions of its filter entries.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setSizeGripEnabled(true);
    const QStringList filters = QtNameFilters(QString::fromUtf8(request.filter));
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
    if (!request.initialFolder.empty()) {
        dialog.setDirectory(QFile::decodeName(request.initialFolder.c_str()));
    }
    if (!request.defaultFileName.empty()) {
        dialog.selectFile(QFile::decodeName(request.defaultFileName.c_str()));
    }
}

QStringList ChosenFiles(const QFileDialog& dialog) {
    const auto* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString typed = nameBox != nullptr ? nameBox->text().trimmed() : QString();
    if (!typed.startsWith(u'"')) return dialog.selectedFiles();
    // "a" "b" "c": the names are the odd pieces between the quotes.
    const QStringList pieces = typed.split(u'"');
    const QDir folder = dialog.directory();
    QStringList files;
    QSet<QString> named;
    for (qsizetype i = 1; i < pieces.size(); i += 2) {
        if (pieces.at(i).isEmpty()) continue;
        const QString path = QDir::cleanPath(folder.absoluteFilePath(pieces.at(i)));
        if (QFileInfo(path).isFile() && !named.contains(path)) {
            named.insert(path);
            files << path;
        }
    }
    return files.isEmpty() ? dialog.selectedFiles() : files;
}

void Dialogs::Message(const QString& caption, const QString& text) {
    ShowWithOk(Kind::Message, QMessageBox::Information, caption, text);
}

bool Dialogs::Confirm(const QString& text) {
    const QString caption = QString::fromUtf8(kConfirmCaption.data(), kConfirmCaption.size());
    Note({Kind::Confirm, caption, text, {}});
    if (Scripted()) {
        const std::optional<bool> yes = TakeAnswer();
        if (!yes) qWarning() << "Unanswered confirmation:" << text;
        return yes.value_or(false);
    }
    QMessageBox box(QMessageBox::Question, caption, DisplayText(text), QMessageBox::NoButton,
                    parent_);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void Dialogs::Error(const QString& caption, const QString& text) {
    ShowWithOk(Kind::Error, QMessageBox::Critical, caption, text);
}

void Dialogs::ShowWithOk(Kind kind, QMessageBox::Icon icon, const QString& caption,
                         const QString& text) {
    Note({kind, caption, text, {}});
    if (Scripted()) return;
    QMessageBox box(icon, caption, DisplayText(text), QMessageBox::Ok, parent_);
    box.exec();
}

QStringList Dialogs::OpenFiles(const OpenDialogRequest& request) {
    Note({Kind::OpenFiles, {}, {}, request});
    if (Scripted()) {
        std::optional<QStringList> paths = TakeOpenFiles();
        if (!paths) qWarning() << "Unanswered open-file dialog";
        return paths.value_or(QStringList());
    }
    QFileDialog dialog(parent_);
    ConfigureOpenDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return {};
    return ChosenFiles(dialog);
}

}  // namespace imgcrypt
