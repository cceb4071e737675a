// The banner: loaded once from the maker's site by the start-up language,
// adjusted after every load, blank when the site cannot be reached.
#include <QAction>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "local_http_server.h"
#include "ui_test_support.h"

using namespace imgcrypt;
using namespace imgcrypt::test;

namespace {

const QByteArray kBannerPage =
    "<!DOCTYPE html><html><head><title>ad</title></head>"
    "<body style=\"border: 3px solid red\"><div style=\"width:2000px;height:2000px\">"
    "banner</div></body></html>";

// Runs a script in the page and waits for its result.
QVariant Evaluate(QWebEngineView* view, const QString& script) {
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000)) qWarning("script gave no result");
    return result;
}

}  // namespace

class BannerTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void startupLoadsThePageOfTheLanguageAndAdjustsIt_data() {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("path");
        QTest::newRow("English") << QByteArray("en\r\n") << "/ien/ead.htm";
        QTest::newRow("Chinese") << QByteArray() << "/ien/ad.htm";
    }
    void startupLoadsThePageOfTheLanguageAndAdjustsIt() {
        QFETCH(QByteArray, config);
        QFETCH(QString, path);
        LocalHttpServer server(kBannerPage);
        QVERIFY(server.listening());
        WindowFixture f(server.host(), config);
        f.show();
        auto* view = f.find<QWebEngineView>("WebBrowser1");
        QTRY_COMPARE_WITH_TIMEOUT(server.requestedPaths().size(), 1, 20000);
        QCOMPARE(server.requestedPaths().front(), path);
        QTRY_COMPARE_WITH_TIMEOUT(
            Evaluate(view, "document.body ? String(document.body.scroll) : ''").toString(),
            QString("no"), 20000);
        QCOMPARE(Evaluate(view, "document.body.style.borderStyle").toString(), QString("none"));
        QCOMPARE(Evaluate(view, "document.documentElement.style.overflow").toString(),
                 QString("hidden"));
        QCOMPARE(Evaluate(view, "document.body.innerText").toString(), QString("banner"));

        // A language switch changes the links, not the banner.
        f.find<QAction>(config.isEmpty() ? "men" : "mch")->trigger();
        QTest::qWait(300);
        QCOMPARE(server.requestedPaths().filter("/ien/").size(), 1);
    }

    void anUnreachableSiteLeavesABlankBanner() {
        WindowFixture f(kDeadSiteHost);
        f.show();
        auto* view = f.find<QWebEngineView>("WebBrowser1");
        QSignalSpy finished(view, &QWebEngineView::loadFinished);
        // The failed load, then the blank page put in its place.
        QTRY_VERIFY_WITH_TIMEOUT(finished.size() >= 2, 20000);
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QCOMPARE(finished.last().at(0).toBool(), true);
        QTest::qWait(200);
        QCOMPARE(finished.size(), 2);  // no loop
        QCOMPARE(Evaluate(view, "document.body ? document.body.innerText : ''").toString(),
                 QString());
        QCOMPARE(Evaluate(view, "document.documentElement.style.overflow").toString(),
                 QString("hidden"));
    }
};

IMGCRYPT_QTEST_MAIN(BannerTest)
#include "banner_test.moc"
