#include "ui/app_locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef IMGCRYPT_DATA_DIR_FROM_BIN
#define IMGCRYPT_DATA_DIR_FROM_BIN "../share/imgcrypt"
#endif
#ifndef IMGCRYPT_SITE_HOST
#define IMGCRYPT_SITE_HOST "www.zelvok.example"
#endif

namespace imgcrypt {

namespace {

std::string WithSeparator(const QString& folder) {
    QString f = QDir::cleanPath(folder);
    if (!f.endsWith(u'/')) f += u'/';
    return QFile::encodeName(f).toStdString();
}

}  // namespace

AppLocations SettleAppLocations(const QString& exeFolder, const QString& installedDataFolder,
                                const QString& userConfigFolder, const QString& siteHost) {
    AppLocations locations;
    locations.exeFolder = WithSeparator(exeFolder);

    const bool portable = QFileInfo::exists(QDir(exeFolder).filePath("help.htm"));
    locations.helpFolder = portable ? locations.exeFolder : WithSeparator(installedDataFolder);

    const QFileInfo exeDir(exeFolder);
    if (portable && exeDir.isDir() && exeDir.isWritable()) {
        locations.configPath = locations.exeFolder + "config.db";
    } else {
        QDir().mkpath(userConfigFolder);
        locations.configPath = WithSeparator(userConfigFolder) + "config.db";
    }
    locations.siteHost = siteHost.toStdString();
    return locations;
}

QString InstalledDataFolder(const QString& exeFolder) {
    return QDir::cleanPath(QDir(exeFolder).filePath(QStringLiteral(IMGCRYPT_DATA_DIR_FROM_BIN)));
}

AppLocations SettleAppLocations() {
    const QString exeFolder = QCoreApplication::applicationDirPath();
    return SettleAppLocations(exeFolder, InstalledDataFolder(exeFolder),
                              QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                              QStringLiteral(IMGCRYPT_SITE_HOST));
}

}  // namespace imgcrypt
