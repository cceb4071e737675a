// Saves pictures of the main window at rest and during a run, in English and
// Chinese, into the folder given as the only argument:
//   imgcrypt-screenshots <folder>
// Runs on any Qt platform; offscreen needs a CJK font for the Chinese texts.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QWebEngineView>
#include <cstdio>

#include "local_http_server.h"
#include "ui_test_support.h"

using namespace imgcrypt;
using namespace imgcrypt::test;

namespace {

const QByteArray kBanner =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head>"
    "<body style=\"margin:0;background:linear-gradient(90deg,#2b6cb0,#63b3ed);"
    "font:bold 28px sans-serif;color:white;display:flex;align-items:center;"
    "justify-content:center;height:140px\">Zelvok &middot; 照片批量加密</body></html>";

bool Save(const QPixmap& picture, const QString& path) {
    const bool ok = picture.save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    return ok;
}

bool Shoot(const QString& folder, bool english, const std::string& siteHost) {
    const QString lang = english ? "en" : "ch";
    WindowFixture f(siteHost, english ? "en\r\n" : "ch\r\n");
    f.show();
    auto* view = f.find<QWebEngineView>("WebBrowser1");
    (void)QTest::qWaitFor([view] { return !view->title().isEmpty() || view->url().isEmpty(); }, 5000);
    QTest::qWait(800);  // let the banner paint
    bool ok = Save(f.window().grab(), folder + "/" + lang + "_rest.png");

    QStringList sources;
    for (const char* name : {"a.jpg", "b.png", "c.gif"}) {
        sources << f.photos() + "/" + name;
        WriteFile(sources.back(), SampleBytes(2000, 1));
    }
    QTest::keyClicks(f.find<QLineEdit>("edtEnpass"), "secret");
    f.select(sources);
    // The run's closing question is up while the progress row shows.
    f.dialogs().setObserver([&](const Dialogs::Record& record) {
        if (record.kind == Dialogs::Kind::Confirm) {
            QCoreApplication::processEvents();
            ok = Save(f.window().grab(), folder + "/" + lang + "_run.png") && ok;
        }
    });
    f.dialogs().queueAnswer(false);
    f.find<QPushButton>("btnenc")->click();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: imgcrypt-screenshots <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    LocalHttpServer site(kBanner);
    bool ok = true;
    for (bool english : {true, false}) ok = Shoot(folder, english, site.host()) && ok;
    return ok ? 0 : 1;
}
