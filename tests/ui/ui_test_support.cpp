#include "ui_test_support.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>

namespace imgcrypt::test {

WindowFixture::WindowFixture(const std::string& siteHost, const QByteArray& config,
                             BannerPages bannerPages) {
    QDir(dir_.path()).mkpath(QStringLiteral("exe"));
    QDir(dir_.path()).mkpath(QStringLiteral("photos"));
    const std::string exe = Bytes(dir_.filePath(QStringLiteral("exe"))) + "/";
    locations_.exeFolder = exe;
    locations_.helpFolder = exe;
    locations_.configPath = exe + "config.db";
    locations_.siteHost = siteHost;
    if (!config.isNull()) WriteFile(QString::fromStdString(locations_.configPath), config);
    if (bannerPages == BannerPages::Installed) {
        for (const char* page : {"banner.htm", "ebanner.htm"}) {
            QVERIFY(QFile::copy(QStringLiteral(IMGCRYPT_SOURCE_DATA_DIR "/") + page,
                                dir_.filePath(QStringLiteral("exe/")) + page));
        }
    }
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    window_ = std::make_unique<TfrmMain>(locations_, std::move(dialogs));
    window_->links().SetOpener([this](const QUrl& url) { opened_.push_back(url); });
}

void WindowFixture::Show() {
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void WindowFixture::Select(const QStringList& paths) {
    std::vector<std::string> files;
    for (const QString& path : paths) files.push_back(Bytes(path));
    dialogs().QueueOpenFiles(std::move(files));
    Find<QAbstractButton>("btnopen")->click();
}

std::string NameOf(form::Id id) {
    for (const form::Control& control : form::kControls) {
        if (control.id == id) return std::string(control.name);
        for (const form::RadioItem& item : control.items) {
            if (item.id == id) return std::string(item.name);
        }
    }
    for (const form::MenuEntry& entry : form::kMenu) {
        if (entry.id == id) return std::string(entry.name);
    }
    return {};
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray SampleBytes(int size, int seed) {
    QByteArray bytes;
    bytes.reserve(size);
    quint32 state = static_cast<quint32>(seed) * 2654435761u + 1u;
    for (int i = 0; i < size; ++i) {
        if (i < 256) {
            bytes.append(static_cast<char>(i));
        } else if (i % 97 == 0) {
            bytes.append("\r\n");
            ++i;
        } else {
            state = state * 1103515245u + 12345u;
            bytes.append(static_cast<char>(state >> 24));
        }
    }
    bytes.truncate(size);
    return bytes;
}

std::string Bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace imgcrypt::test
