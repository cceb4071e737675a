// The program's byte texts as Qt's strings and back: texts are UTF-8, paths
// are in the file system's encoding.
#pragma once

#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace imgcrypt {

inline QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string Path(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace imgcrypt
