// Saves pictures of the main window at rest and during a run, in English and
// Chinese, with the offline banner, into the folder given as the only
// argument, then reads them back and checks them (exit status 1 when one is
// missing or wrong):
//   imgcrypt-screenshots <folder>
// Runs on any Qt platform; offscreen needs a CJK font for the Chinese texts.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWebEngineView>
#include <cstdio>
#include <vector>

#include "ui_test_support.h"

using namespace imgcrypt;
using namespace imgcrypt::test;

namespace {

// A saved picture and what it must show, in the window's own pixels.
struct Picture {
    QString path;
    QSize windowSize;
    qreal pixelRatio = 1;
    int progressRowTop = 0;     // the progress bar's and Cancel's top
    int progressRowBottom = 0;  // and their bottom
};

Picture Save(TfrmMain& window, const QString& path) {
    Picture picture{path, window.size(), window.devicePixelRatio()};
    const auto* bar = window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    const auto* cancel = window.findChild<QPushButton*>(QStringLiteral("btncancel"));
    const QRect row = QRect(bar->mapTo(&window, QPoint()), bar->size())
                          .united(QRect(cancel->mapTo(&window, QPoint()), cancel->size()));
    picture.progressRowTop = row.top();
    picture.progressRowBottom = row.bottom() + 1;
    QFile::remove(path);  // a picture left from an earlier run must not pass the check
    if (!window.grab().save(path)) std::printf("FAILED to save %s\n", qPrintable(path));
    return picture;
}

// Reads the picture back: a whole picture of the window, with the progress
// row out of view at rest and in view during a run.
bool Check(const Picture& picture, bool duringRun) {
    const QImage image(picture.path);
    const QSize expected = picture.windowSize * picture.pixelRatio;
    const int height = qRound(image.height() / picture.pixelRatio);
    QString fault;
    if (image.isNull()) {
        fault = "missing or unreadable";
    } else if (image.size() != expected) {
        fault = QString("%1x%2, the window was %3x%4")
                    .arg(image.width())
                    .arg(image.height())
                    .arg(expected.width())
                    .arg(expected.height());
    } else if (duringRun && picture.progressRowBottom > height) {
        fault = "the progress row is cut off";
    } else if (!duringRun && picture.progressRowTop < height) {
        fault = "the progress row shows at rest";
    }
    std::printf("%s %s%s\n", fault.isEmpty() ? "ok" : "FAILED", qPrintable(picture.path),
                fault.isEmpty() ? "" : qPrintable(": " + fault));
    return fault.isEmpty();
}

// The window as a user without a network sees it: the site cannot be
// reached, so the banner shows the local page of the language.
bool Shoot(const QString& folder, bool english) {
    const QString lang = english ? "en" : "ch";
    WindowFixture f(kDeadSiteHost, english ? "en\r\n" : "ch\r\n");
    auto* banner = f.Find<QWebEngineView>("WebBrowser1");
    const QUrl localPage =
        QUrl::fromLocalFile(f.path(english ? "exe/ebanner.htm" : "exe/banner.htm"));
    bool shown = false;
    QObject::connect(banner, &QWebEngineView::loadFinished, banner,
                     [&](bool ok) { shown = shown || (ok && banner->url() == localPage); });
    f.Show();
    if (!QTest::qWaitFor([&] { return shown; }, 20000)) {
        std::printf("FAILED: the banner did not show %s\n", qPrintable(localPage.toString()));
        return false;
    }
    QTest::qWait(300);  // the web view paints a moment after its load
    const Picture rest = Save(f.window(), folder + "/" + lang + "_rest.png");

    QStringList sources;
    for (const char* name : {"a.jpg", "b.png", "c.gif"}) {
        sources << f.photos() + "/" + name;
        WriteFile(sources.back(), SampleBytes(2000, 1));
    }
    QTest::keyClicks(f.Find<QLineEdit>("edtEnpass"), "secret");
    f.Select(sources);
    f.Find<QRadioButton>("gbencClassItem2")->click();  // the run derives a key first, then seals
    // The run's closing question is up while the progress row shows.
    std::vector<Picture> run;
    f.dialogs().SetObserver([&](const ScriptedDialogs::Record& record) {
        if (record.kind == ScriptedDialogs::Kind::Confirm) {
            QCoreApplication::processEvents();
            run.push_back(Save(f.window(), folder + "/" + lang + "_run.png"));
        }
    });
    f.dialogs().QueueAnswer(false);
    f.Find<QPushButton>("btnenc")->click();

    bool ok = Check(rest, false);
    if (run.size() != 1) {
        std::printf("FAILED: the run asked %zu closing questions, not 1\n", run.size());
        return false;
    }
    return Check(run.front(), true) && ok;
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
    bool ok = true;
    for (bool english : {true, false}) ok = Shoot(folder, english) && ok;
    return ok ? 0 : 1;
}
