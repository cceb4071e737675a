// Where settings and help pages live: beside a program run from its own
// folder, in the user's and the data folder for an installed one.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/app_locations.h"
#include "ui_test_support.h"

using namespace imgcrypt;
using namespace imgcrypt::test;

namespace {

// A program's own folder, as unpacked from an archive: help pages beside it.
QString PortableFolder(const QTemporaryDir& dir) {
    const QString exe = dir.filePath("imgcrypt");
    QDir().mkpath(exe);
    WriteFile(exe + "/help.htm", "<html></html>");
    return exe;
}

}  // namespace

class AppLocationsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void portableFolderKeepsEverythingBesideTheProgram() {
        QTemporaryDir dir;
        const QString exe = PortableFolder(dir);
        const QString user = dir.filePath("home/.config/imgcrypt");

        const AppLocations at =
            SettleAppLocations(exe, dir.filePath("share"), user, "host.example");
        QCOMPARE(Q(at.configPath), exe + "/config.db");
        QCOMPARE(Q(at.helpFolder), exe + "/");
        QCOMPARE(Q(at.exeFolder), exe + "/");
        QCOMPARE(at.siteHost, std::string("host.example"));
        QVERIFY(!QFileInfo::exists(user));
    }

    void readOnlyPortableFolderKeepsSettingsInTheUsersFolder() {
        if (geteuid() == 0) QSKIP("root may write into a read-only folder");
        QTemporaryDir dir;
        const QString exe = PortableFolder(dir);
        const QString user = dir.filePath("home/.config/imgcrypt");
        QFile::setPermissions(exe, QFile::ReadOwner | QFile::ExeOwner);
        const AppLocations readOnly = SettleAppLocations(exe, dir.filePath("share"), user, "h");
        QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(Q(readOnly.configPath), user + "/config.db");
        QCOMPARE(Q(readOnly.helpFolder), exe + "/");
        QVERIFY(QFileInfo(user).isDir());
    }

    // The layout of the package: the programs folder is writable here, as
    // /usr/bin is for root, and still nothing may be kept there.
    void installedProgramKeepsSettingsInTheUsersFolder() {
        QTemporaryDir dir;
        const QString bin = dir.filePath("usr/bin");
        const QString data = dir.filePath("usr/share/imgcrypt");
        const QString user = dir.filePath("home/.config/imgcrypt");
        QDir().mkpath(bin);
        QDir().mkpath(data);
        WriteFile(data + "/help.htm", "<html></html>");
        WriteFile(data + "/ehelp.htm", "<html></html>");

        QCOMPARE(InstalledDataFolder(bin), data);
        QCOMPARE(InstalledDataFolder(bin + "/"), data);

        const AppLocations at = SettleAppLocations(bin, InstalledDataFolder(bin), user, "h");
        QCOMPARE(Q(at.helpFolder), data + "/");
        QCOMPARE(Q(at.configPath), user + "/config.db");
        QCOMPARE(Q(at.exeFolder), bin + "/");
        QVERIFY(QFileInfo(user).isDir());
    }
};

QTEST_GUILESS_MAIN(AppLocationsTest)
#include "app_locations_test.moc"
