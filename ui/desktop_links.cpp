#include "ui/desktop_links.h"

#include <QDesktopServices>
#include <QFile>

namespace imgcrypt {

QUrl UrlForLocalPath(const std::string& path) {
    return QUrl::fromLocalFile(QFile::decodeName(path.c_str()));
}

QUrl UrlForAddress(const std::string& address) {
    return QUrl(QString::fromUtf8(address), QUrl::TolerantMode);
}

DesktopLinks::DesktopLinks() : opener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {}

void DesktopLinks::Open(const QUrl& url) const {
    if (opener_) opener_(url);
}

}  // namespace imgcrypt
