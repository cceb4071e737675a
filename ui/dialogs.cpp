#include "ui/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>

#include "batch/language_tables.h"
#include "ui/qt_text.h"

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

QStringList QtNameFilters(const std::vector<FilterEntry>& entries) {
    QStringList filters;
    for (const FilterEntry& entry : entries) {
        QStringList patterns;
        for (const std::string& pattern : entry.patterns) {
            patterns << (pattern == "*.*" ? QStringLiteral("*") : Text(pattern));
        }
        filters << Text(entry.description) + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters;
}

void ConfigureOpenDialog(QFileDialog& dialog, const OpenDialogRequest& request) {
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The Windows dialog shows only the descriptions of its filter entries.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setSizeGripEnabled(true);
    const QStringList filters = QtNameFilters(FilterEntries(request.filter));
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) {
        dialog.selectNameFilter(filters.at(static_cast<qsizetype>(
            OpeningFilterEntry(request.filterIndex, static_cast<std::size_t>(filters.size())))));
    }
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

void QtDialogs::Message(const std::string& caption, const std::string& text) {
    ShowWithOk(QMessageBox::Information, caption, text);
}

bool QtDialogs::Confirm(const std::string& text) {
    QMessageBox box(QMessageBox::Question, Text(kConfirmCaption), DisplayText(Text(text)),
                    QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtDialogs::Error(const std::string& caption, const std::string& text) {
    ShowWithOk(QMessageBox::Critical, caption, text);
}

void QtDialogs::ShowWithOk(QMessageBox::Icon icon, const std::string& caption,
                           const std::string& text) {
    QMessageBox box(icon, Text(caption), DisplayText(Text(text)), QMessageBox::Ok, parent_);
    box.exec();
}

std::vector<std::string> QtDialogs::OpenFiles(const OpenDialogRequest& request) {
    QFileDialog dialog(parent_);
    ConfigureOpenDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return {};
    std::vector<std::string> paths;
    for (const QString& path : ChosenFiles(dialog)) {
        paths.push_back(Path(path));
    }
    return paths;
}

}  // namespace imgcrypt
