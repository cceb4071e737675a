#include "ui/app_locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef IMGCRYPT_DATA_DIR
#define IMGCRYPT_DATA_DIR "/usr/local/share/imgcrypt"
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

    const QFileInfo exeDir(exeFolder);
    if (exeDir.isDir() && exeDir.isWritable()) {
        locations.configPath = locations.exeFolder + "config.db";
    } else {
        QDir().mkpath(userConfigFolder);
        locations.configPath = WithSeparator(userConfigFolder) + "config.db";
    }

    const bool helpBesideExe = QFileInfo::exists(QDir(exeFolder).filePath("help.htm"));
    locations.helpFolder = helpBesideExe ? locations.exeFolder : WithSeparator(installedDataFolder);
    locations.siteHost = siteHost.toStdString();
    return locations;
}

AppLocations SettleAppLocations() {
    return SettleAppLocations(QCoreApplication::applicationDirPath(),
                              QStringLiteral(IMGCRYPT_DATA_DIR),
                              QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                              QStringLiteral(IMGCRYPT_SITE_HOST));
}

}  // namespace imgcrypt
