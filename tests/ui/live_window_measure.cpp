// The Qt window during sealed runs (tests/support/live_window_measure.h):
// how long it goes without handling input while the key is derived and
// inside a large file, and how soon Cancel stops a large file.
//   imgcrypt-live-window [MEGABYTES]      (default 300; bench/live-window.sh)
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <cstdlib>

#include "tests/support/live_window_measure.h"
#include "ui_test_support.h"

using namespace imgcrypt;
using namespace imgcrypt::test;

namespace {

class QtDriver final : public LiveWindowDriver {
  public:
    explicit QtDriver(WindowFixture& f) : f_(f) {}
    ScriptedDialogs& dialogs() override { return f_.dialogs(); }
    std::string photos() override { return Bytes(f_.photos()) + "/"; }
    void TypePassword(const std::string& password) override {
        f_.Find<QLineEdit>(form::Id::edtEnpass)->setText(QString::fromStdString(password));
    }
    void Select(const std::vector<std::string>& paths) override {
        QStringList list;
        for (const std::string& path : paths) list << QString::fromStdString(path);
        f_.Select(list);
    }
    void Press(form::Id id) override { f_.Find<QAbstractButton>(id)->click(); }

  private:
    WindowFixture& f_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 300;
    WindowFixture f(kDeadSiteHost, "en\r\n");
    f.Show();
    QtDriver window(f);
    window.TypePassword("Tiger#42");
    LiveWindowClock clock;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (clock.Tick()) window.Press(form::Id::btncancel);
    });
    tick.start();
    std::printf("Qt window (%s), sealed class:\n", qPrintable(QGuiApplication::platformName()));
    return MeasureSealedRuns(window, clock, megabytes);
}
