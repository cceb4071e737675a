// Shared pieces of the window tests: the application set-up the web engine
// needs, a window on a temporary folder with scripted dialogs and recorded
// links, the form's controls by name, and small file helpers.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "batch/form_layout.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/main_window.h"

// Like QTEST_MAIN, with the shared GL contexts the web engine asks for.
#define IMGCRYPT_QTEST_MAIN(TestClass)                              \
    int main(int argc, char** argv) {                               \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); \
        QApplication app(argc, argv);                               \
        app.setAttribute(Qt::AA_Use96Dpi, true);                    \
        TestClass test;                                             \
        return QTest::qExec(&test, argc, argv);                     \
    }

namespace imgcrypt::test {

// A port nobody listens on: the banner fails to load at once.
inline constexpr const char* kDeadSiteHost = "127.0.0.1:9";

// The name the form gives `id` (the object name of its control).
std::string NameOf(form::Id id);

// Whether the offline banner pages lie beside the executable, as installed.
enum class BannerPages { Installed, Missing };

class WindowFixture {
  public:
    // `config` is written to config.db first unless it is null.
    explicit WindowFixture(const std::string& siteHost = kDeadSiteHost,
                           const QByteArray& config = QByteArray(),
                           BannerPages bannerPages = BannerPages::Installed);

    TfrmMain& window() { return *window_; }
    ScriptedDialogs& dialogs() { return *dialogs_; }
    const AppLocations& locations() const { return locations_; }
    const std::vector<QUrl>& opened() const { return opened_; }
    // A folder for source files, "photos/" under the temporary folder.
    QString photos() const { return dir_.filePath(QStringLiteral("photos")); }
    QString path(const QString& relative) const { return dir_.filePath(relative); }

    template <typename T>
    T* Find(const char* name) {
        T* found = window_->findChild<T*>(QLatin1String(name));
        if (found == nullptr) qWarning("no child named %s", name);
        return found;
    }
    // The control, radio item or menu entry of the form.
    template <typename T>
    T* Find(form::Id id) {
        return Find<T>(NameOf(id).c_str());
    }

    // Shows the window and waits until it is exposed.
    void Show();
    // Picks `paths` through the Open button with the dialog answered.
    void Select(const QStringList& paths);

  private:
    QTemporaryDir dir_;
    AppLocations locations_;
    std::vector<QUrl> opened_;
    ScriptedDialogs* dialogs_ = nullptr;  // owned by the window
    std::unique_ptr<TfrmMain> window_;
};

QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);
// Bytes that exercise the codec: every byte value, line breaks, a seeded tail.
QByteArray SampleBytes(int size, int seed);
// The file's path in the byte form the logic uses.
std::string Bytes(const QString& path);
// A UTF-8 text of the logic (language tables, locations) as Qt shows it.
QString Q(std::string_view text);

}  // namespace imgcrypt::test
