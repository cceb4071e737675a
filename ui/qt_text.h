// The program's byte texts as Qt's strings and back: texts are UTF-8, paths
// are in the file system's encoding.
#pragma once

#include <QFile>
#include <QString>
#include <QStringEncoder>
#include <string>
#include <string_view>

namespace imgcrypt {

inline QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string Path(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A secret's UTF-8 (the password's), encoded straight into the string: no
// converted copy is left behind unwiped in freed memory.
inline std::string SecretUtf8(QStringView text) {
    QStringEncoder encoder(QStringEncoder::Utf8);
    std::string utf8(static_cast<std::size_t>(encoder.requiredSpace(text.size())), '\0');
    utf8.resize(static_cast<std::size_t>(encoder.appendToBuffer(utf8.data(), text) - utf8.data()));
    return utf8;
}

}  // namespace imgcrypt
