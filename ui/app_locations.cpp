#include "ui/app_locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "runtime/app_folders.h"

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
    locations.helpFolder = IsPortableProgramFolder(locations.exeFolder)
                               ? locations.exeFolder
                               : WithSeparator(installedDataFolder);
    // No user folder known (no home): the rule falls back to the program's.
    locations.configPath = SettingsFilePath(
        locations.exeFolder,
        userConfigFolder.isEmpty() ? std::string() : WithSeparator(userConfigFolder));
    locations.siteHost = siteHost.toStdString();
    return locations;
}

QString InstalledDataFolder(const QString& exeFolder) {
    return QDir::cleanPath(QDir(exeFolder).filePath(QStringLiteral(IMGCRYPT_DATA_DIR_FROM_BIN)));
}

AppLocations SettleAppLocations() {
    const QString exeFolder = QCoreApplication::applicationDirPath();
    return SettleAppLocations(exeFolder, InstalledDataFolder(exeFolder),
                              QString::fromStdString(UserConfigFolder()),
                              QStringLiteral(IMGCRYPT_SITE_HOST));
}

}  // namespace imgcrypt
