// The banner: loaded once from the maker's site by the start-up language,
// adjusted after every load; the local page of that language when the site
// cannot be reached, blank when that page fails too.
#include <QAction>
#include <QRegularExpression>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

#include "local_http_server.h"
#include "ui_test_support.h"

using namespace imgcrypt;
using namespace imgcrypt::test;

namespace {

const QByteArray kBannerPage =
    "<!DOCTYPE html><html><head><title>ad</title></head>"
    "<body style=\"border: 3px solid red\"><div style=\"width:2000px;height:2000px\">"
    "banner</div></body></html>";

// Runs a script in the page and waits, bounded, for its result. The result
// lives beside the callback, which may still come after a timeout.
QVariant Evaluate(QWebEngineView* view, const QString& script) {
    struct Outcome {
        QVariant result;
        bool done = false;
    };
    auto outcome = std::make_shared<Outcome>();
    view->page()->runJavaScript(script, [outcome](const QVariant& v) {
        outcome->result = v;
        outcome->done = true;
    });
    if (!QTest::qWaitFor([&] { return outcome->done; }, 10000)) qWarning("script gave no result");
    return outcome->result;
}

// The view's loads in order: "started", then "finished" or "failed".
class LoadLog {
  public:
    explicit LoadLog(QWebEngineView* view) {
        QObject::connect(view, &QWebEngineView::loadStarted, &context_,
                         [this] { events_ << QStringLiteral("started"); });
        QObject::connect(view, &QWebEngineView::loadFinished, &context_, [this](bool ok) {
            events_ << (ok ? QStringLiteral("finished") : QStringLiteral("failed"));
        });
    }
    const QStringList& events() const { return events_; }
    // The events after the first `event`; all of them when it never came.
    QStringList After(const QString& event) const {
        return events_.mid(events_.indexOf(event) + 1);
    }

  private:
    QStringList events_;
    QObject context_;  // declared last: disconnects before the log goes
};

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
        WindowFixture f(server.Host(), config);
        f.Show();
        auto* view = f.Find<QWebEngineView>("WebBrowser1");
        QTRY_VERIFY_WITH_TIMEOUT(!server.requestedPaths().isEmpty(), 20000);
        QCOMPARE(server.requestedPaths().front(), path);
        QTRY_COMPARE_WITH_TIMEOUT(
            Evaluate(view, "document.body ? String(document.body.scroll) : ''").toString(),
            QString("no"), 20000);
        QCOMPARE(Evaluate(view, "document.body.style.borderStyle").toString(), QString("none"));
        QCOMPARE(Evaluate(view, "document.documentElement.style.overflow").toString(),
                 QString("hidden"));
        QCOMPARE(Evaluate(view, "document.body.innerText").toString(), QString("banner"));
        QCOMPARE(view->url().path(), path);

        // A language switch changes the links, not the banner. A load it
        // started would announce itself before a script round trip through
        // the page comes back.
        LoadLog log(view);
        f.Find<QAction>(config.isEmpty() ? "men" : "mch")->trigger();
        QCOMPARE(Evaluate(view, "document.body.innerText").toString(), QString("banner"));
        QCOMPARE(log.events(), QStringList());
        QCOMPARE(server.requestedPaths().filter("/ien/"), QStringList({path}));
    }

    void anUnreachableSiteShowsTheLocalPageOfTheStartupLanguage_data() {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QByteArray("en\r\n") << "ebanner.htm"
                                 << "en";
        QTest::newRow("Chinese") << QByteArray() << "banner.htm"
                                 << "zh-CN";
    }
    void anUnreachableSiteShowsTheLocalPageOfTheStartupLanguage() {
        QFETCH(QByteArray, config);
        QFETCH(QString, page);
        QFETCH(QString, language);
        WindowFixture f(kDeadSiteHost, config);
        auto* view = f.Find<QWebEngineView>("WebBrowser1");
        LoadLog log(view);  // before the event loop runs: the refusal comes fast
        f.Show();
        QTRY_VERIFY_WITH_TIMEOUT(log.events().contains("finished"), 20000);
        QCOMPARE(log.events().filter(QRegularExpression("finished|failed")),
                 QStringList({"failed", "finished"}));
        QCOMPARE(view->url(), QUrl::fromLocalFile(f.path("exe/" + page)));
        QCOMPARE(Evaluate(view, "document.documentElement.lang").toString(), language);
        // The page stands alone: nothing fetched besides itself.
        QCOMPARE(Evaluate(view, "performance.getEntriesByType('resource').length").toInt(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(
            Evaluate(view, "document.body ? String(document.body.scroll) : ''").toString(),
            QString("no"), 20000);
        QCOMPARE(Evaluate(view, "document.documentElement.style.overflow").toString(),
                 QString("hidden"));

        // A language switch keeps the banner of the start-up language.
        f.Find<QAction>(config.isEmpty() ? "men" : "mch")->trigger();
        QCOMPARE(Evaluate(view, "document.documentElement.lang").toString(), language);
        QCOMPARE(log.After("finished"), QStringList());
    }

    void aMissingLocalPageLeavesTheBannerBlankWithoutALoop() {
        WindowFixture f(kDeadSiteHost, QByteArray(), BannerPages::Missing);
        auto* view = f.Find<QWebEngineView>("WebBrowser1");
        LoadLog log(view);
        f.Show();
        // The site, then the local page, then the blank page put in their place.
        QTRY_VERIFY_WITH_TIMEOUT(log.events().contains("finished"), 20000);
        QCOMPARE(log.events().filter(QRegularExpression("finished|failed")),
                 QStringList({"failed", "failed", "finished"}));
        // No loop: a load started after the blank page would announce itself
        // before a script round trip through the page comes back.
        QCOMPARE(Evaluate(view, "document.body ? document.body.innerText : ''").toString(),
                 QString());
        QCOMPARE(log.After("finished"), QStringList());
        QCOMPARE(Evaluate(view, "document.documentElement.style.overflow").toString(),
                 QString("hidden"));
    }
};

IMGCRYPT_QTEST_MAIN(BannerTest)
#include "banner_test.moc"
