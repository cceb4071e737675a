// The form: controls, places, focus order, menu, both languages, the password
// box, Esc, accessibility and the links each menu command opens.
#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QWebEngineView>

#include "batch/language_tables.h"
#include "ui/window_geometry.h"
#include "ui_test_support.h"

using namespace imgcrypt;
using namespace imgcrypt::test;

namespace {

// The named control a focus-chain widget belongs to (itself or an ancestor).
QString NamedOwner(QWidget* w, const QStringList& names) {
    for (; w != nullptr; w = w->parentWidget()) {
        if (names.contains(w->objectName())) return w->objectName();
    }
    return QString();
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void controlsSitAtTheirPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("WebBrowser1") << "WebBrowser1" << QRect(8, 5, 500, 140);
        QTest::newRow("rgsuffix") << "rgsuffix" << QRect(8, 152, 500, 41);
        QTest::newRow("gbencClass") << "gbencClass" << QRect(8, 200, 500, 41);
        QTest::newRow("lbopen") << "lbopen" << QRect(8, 252, 73, 13);
        QTest::newRow("edtdir") << "edtdir" << QRect(80, 248, 353, 21);
        QTest::newRow("btnopen") << "btnopen" << QRect(447, 248, 60, 25);
        QTest::newRow("lbpassword") << "lbpassword" << QRect(8, 284, 73, 13);
        QTest::newRow("edtEnpass") << "edtEnpass" << QRect(80, 280, 81, 21);
        QTest::newRow("lbpassnote") << "lbpassnote" << QRect(168, 285, 217, 17);
        QTest::newRow("btnenc") << "btnenc" << QRect(387, 280, 60, 25);
        QTest::newRow("btndec") << "btndec" << QRect(447, 280, 60, 25);
        QTest::newRow("ProgressBar1") << "ProgressBar1" << QRect(8, 320, 361, 17);
        QTest::newRow("lbprogress") << "lbprogress" << QRect(376, 322, 73, 13);
        QTest::newRow("btncancel") << "btncancel" << QRect(448, 317, 60, 25);
    }
    void controlsSitAtTheirPlaces() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        WindowFixture f;
        f.Show();
        auto* w = f.window().findChild<QWidget*>(name);
        QVERIFY(w != nullptr);
        QCOMPARE(w->parentWidget(), f.window().centralWidget());
        QCOMPARE(w->geometry(), rect);
        // Resizing the frame moves nothing.
        f.window().resize(f.window().width() + 120, f.window().height() + 80);
        QCoreApplication::processEvents();
        QCOMPARE(w->geometry(), rect);
    }

    void initialStateOfTheControls() {
        WindowFixture f;
        auto* dir = f.Find<QLineEdit>("edtdir");
        QVERIFY(dir->isReadOnly());
        QVERIFY(dir->text().isEmpty());
        auto* pass = f.Find<QLineEdit>("edtEnpass");
        QVERIFY(pass->text().isEmpty());
        QCOMPARE(pass->maxLength(), 10);
        QCOMPARE(pass->echoMode(), QLineEdit::Password);
        for (const char* group : {"rgsuffix", "gbencClass"}) {
            const auto items = f.Find<QGroupBox>(group)->findChildren<QRadioButton*>();
            QCOMPARE(items.size(), 2);
            QVERIFY(items[0]->isChecked());
            QVERIFY(!items[1]->isChecked());
            // Side by side, item 0 on the left.
            QCOMPARE(items[0]->y(), items[1]->y());
            QVERIFY(items[0]->geometry().right() < items[1]->x());
        }
        QCOMPARE(f.Find<QProgressBar>("ProgressBar1")->value(), 0);
        QVERIFY(f.Find<QLabel>("lbprogress")->text().isEmpty());
        QVERIFY(f.Find<QLabel>("lbprogress")->alignment() & Qt::AlignHCenter);
        for (const char* button : {"btnopen", "btnenc", "btndec", "btncancel"}) {
            QVERIFY2(f.Find<QPushButton>(button)->isEnabled(), button);
        }
        QCOMPARE(f.dialogs().records().size(), size_t{0});  // a clean start shows no box
        // Nothing is selected yet: Encrypt says so and offers the file dialog.
        f.dialogs().QueueOpenFiles({});
        f.Find<QPushButton>("btnenc")->click();
        QCOMPARE(f.dialogs().records().size(), size_t{2});
        QCOMPARE(f.dialogs().records()[0].text, Q(ChineseTable().messages.msgNoImageEncrypt));
    }

    void windowFrameAndHeights() {
        WindowFixture f;
        f.Show();
        const Qt::WindowFlags flags = f.window().windowFlags();
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QVERIFY(!f.window().windowIcon().isNull());
        // At rest the client area ends right above the progress row.
        QCOMPARE(f.window().outerHeight(), kRestHeight);
        QCOMPARE(f.window().centralWidget()->height(), 317);
        QCOMPARE(f.window().centralWidget()->width(), geometry::kClientWidth);
        QVERIFY(f.window().centralWidget()->height() <=
                f.Find<QWidget>("btncancel")->geometry().top());
        f.window().SetOuterHeight(kRunHeight);
        QTRY_COMPARE(f.window().centralWidget()->height(), 347);
        QVERIFY(f.window().centralWidget()->height() >
                f.Find<QWidget>("btncancel")->geometry().bottom());
        f.window().SetOuterHeight(kRestHeight);
        QTRY_COMPARE(f.window().centralWidget()->height(), 317);
    }

    void tabOrderFollowsTheForm() {
        WindowFixture f;
        const QStringList expected = {"btnopen",      "edtEnpass",   "btnenc",   "btndec",
                                      "edtdir",       "WebBrowser1", "rgsuffix", "gbencClass",
                                      "ProgressBar1", "btncancel"};
        QStringList seen;
        QWidget* start = f.Find<QWidget>("btnopen");
        QWidget* w = start;
        do {
            // Tab stops, and the progress bar that holds a place without being one.
            const bool counts =
                (w->focusPolicy() & Qt::TabFocus) || w->objectName() == "ProgressBar1";
            const QString owner = counts ? NamedOwner(w, expected) : QString();
            if (!owner.isEmpty() && (seen.isEmpty() || seen.last() != owner)) seen << owner;
            w = w->nextInFocusChain();
        } while (w != start);
        QCOMPARE(seen, expected);
        // Labels take no focus.
        for (const char* label : {"lbopen", "lbpassword", "lbpassnote", "lbprogress"}) {
            QCOMPARE(f.Find<QLabel>(label)->focusPolicy(), Qt::NoFocus);
        }
    }

    void menuTreeAndBarCommands() {
        WindowFixture f;
        QMenuBar* bar = f.window().menuBar();
        QStringList top;
        for (QAction* a : bar->actions()) top << a->objectName();
        QCOMPARE(top, QStringList({"N1", "N6", "N11", "mdonate", "mch", "men"}));
        auto children = [&](const char* menu) {
            QStringList names;
            for (QAction* a : f.Find<QMenu>(menu)->actions()) names << a->objectName();
            return names;
        };
        QCOMPARE(children("N1"), QStringList({"N2", "N4", "N5"}));
        QVERIFY(f.Find<QAction>("N4")->isSeparator());
        QCOMPARE(children("N6"), QStringList({"N7", "N8"}));
        QCOMPARE(children("N11"), QStringList({"nabout"}));
        QCOMPARE(children("mdonate"), QStringList({"ndonate"}));
        // The language commands act from the bar itself.
        for (const char* command : {"mch", "men"}) {
            QAction* a = bar->findChild<QAction*>(QLatin1String(command));
            QVERIFY(a != nullptr);
            QVERIFY(a->menu() == nullptr);
        }
        QCOMPARE(f.Find<QAction>("mch")->text(), Q(kChineseCommandCaption));
        QCOMPARE(f.Find<QAction>("men")->text(), Q(kEnglishCommandCaption));
        for (QAction* a : f.window().findChildren<QAction*>()) {
            if (a->objectName() == "cancelShortcut") continue;
            QVERIFY2(a->shortcut().isEmpty(), qPrintable(a->objectName()));
            QVERIFY(!a->isCheckable());
            QVERIFY(a->icon().isNull());
        }
    }

    void languageAppliesEveryCaption_data() {
        QTest::addColumn<bool>("english");
        QTest::newRow("English") << true;
        QTest::newRow("Chinese") << false;
    }
    void languageAppliesEveryCaption() {
        QFETCH(bool, english);
        // Start in the other language so every text has to change.
        WindowFixture f(kDeadSiteHost, english ? "ch\r\n" : "en\r\n");
        f.Find<QAction>(english ? "men" : "mch")->trigger();
        const LanguageTable& t = LanguageTableFor(english);

        QCOMPARE(f.Find<QMenu>("N1")->title(), Q(t.N1));
        QCOMPARE(f.Find<QAction>("N2")->text(), Q(t.N2));
        QCOMPARE(f.Find<QAction>("N5")->text(), Q(t.N5));
        QCOMPARE(f.Find<QMenu>("N6")->title(), Q(t.N6));
        QCOMPARE(f.Find<QAction>("N7")->text(), Q(t.N7));
        QCOMPARE(f.Find<QAction>("N8")->text(), Q(t.N8));
        QCOMPARE(f.Find<QMenu>("N11")->title(), Q(t.N11));
        QCOMPARE(f.Find<QAction>("nabout")->text(), Q(t.naboutPrefix) + Q(f.locations().siteHost));
        QCOMPARE(f.Find<QMenu>("mdonate")->title(), Q(t.mdonate));
        QCOMPARE(f.Find<QAction>("ndonate")->text(), Q(t.ndonate));
        QCOMPARE(f.Find<QPushButton>("btnopen")->text(), Q(t.btnopen));
        QCOMPARE(f.Find<QPushButton>("btnenc")->text(), Q(t.btnenc));
        QCOMPARE(f.Find<QPushButton>("btndec")->text(), Q(t.btndec));
        QCOMPARE(f.Find<QPushButton>("btncancel")->text(), Q(t.btncancel));
        QCOMPARE(f.Find<QLabel>("lbopen")->text(), Q(t.lbopen));
        QCOMPARE(f.Find<QLabel>("lbpassword")->text(), Q(t.lbpassword));
        QCOMPARE(f.Find<QLabel>("lbpassnote")->text(), Q(t.lbpassnote));
        QCOMPARE(f.Find<QGroupBox>("rgsuffix")->title(), Q(t.rgsuffixCaption));
        QCOMPARE(f.Find<QGroupBox>("gbencClass")->title(), Q(t.gbencClassCaption));
        for (int i = 0; i < 2; ++i) {
            const auto suffix = f.Find<QGroupBox>("rgsuffix")->findChildren<QRadioButton*>();
            const auto cls = f.Find<QGroupBox>("gbencClass")->findChildren<QRadioButton*>();
            QCOMPARE(suffix[i]->text(), Q(t.rgsuffixItems[i]));
            QCOMPARE(cls[i]->text(), Q(t.gbencClassItems[i]));
        }
        QCOMPARE(f.window().windowTitle(), Q(t.windowCaption));
        QCOMPARE(f.window().applicationTitle(), Q(t.applicationTitle));
        // Untouched by any switch.
        QCOMPARE(f.Find<QAction>("mch")->text(), Q(kChineseCommandCaption));
        QCOMPARE(f.Find<QAction>("men")->text(), Q(kEnglishCommandCaption));
        QCOMPARE(ReadFile(QString::fromStdString(f.locations().configPath)),
                 QByteArray(english ? "en\r\n" : "ch\r\n"));

        // Plain boxes carry the application title of the language; the open
        // dialog gets the language's filter.
        f.dialogs().QueueOpenFiles({});
        f.Find<QPushButton>("btnenc")->click();
        const auto& shown = f.dialogs().records();
        QCOMPARE(shown.size(), size_t{2});
        QCOMPARE(shown[0].kind, Dialogs::Kind::Message);
        QCOMPARE(shown[0].caption, Q(t.applicationTitle));
        QCOMPARE(shown[0].text, Q(t.messages.msgNoImageEncrypt));
        QCOMPARE(shown[1].kind, Dialogs::Kind::OpenFiles);
        QCOMPARE(shown[1].request.filter, std::string(t.dialogFilter));
        QCOMPARE(f.dialogs().unanswered(), 0);
    }

    void startupUsesTheRememberedLanguage_data() {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<bool>("english");
        QTest::newRow("en CRLF") << QByteArray("en\r\n") << true;
        QTest::newRow("en alone") << QByteArray("en") << true;
        QTest::newRow("EN") << QByteArray("EN\r\n") << false;
        QTest::newRow("missing") << QByteArray() << false;
    }
    void startupUsesTheRememberedLanguage() {
        QFETCH(QByteArray, config);
        QFETCH(bool, english);
        WindowFixture f(kDeadSiteHost, config);
        QCOMPARE(f.window().windowTitle(), Q(LanguageTableFor(english).windowCaption));
        QCOMPARE(ReadFile(QString::fromStdString(f.locations().configPath)),
                 QByteArray(english ? "en\r\n" : "ch\r\n"));
    }

    void unreadableSettingsAreShownAndChineseApplies() {
        // A folder where the settings file should be: it cannot be read.
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("config.db");
        AppLocations locations{Bytes(dir.filePath("config.db")), Bytes(dir.path()) + "/",
                               Bytes(dir.path()) + "/", kDeadSiteHost};
        TfrmMain window(locations, std::make_unique<Dialogs>(Dialogs::Mode::Scripted));
        const auto& shown = window.dialogs().records();
        QCOMPARE(shown.size(), size_t{1});
        QCOMPARE(shown.front().kind, Dialogs::Kind::Error);
        QVERIFY(!shown.front().text.isEmpty());
        // A complete Chinese state, not the form's own captions.
        QCOMPARE(window.windowTitle(), Q(ChineseTable().windowCaption));
        QCOMPARE(window.applicationTitle(), Q(ChineseTable().applicationTitle));
    }

    void switchKeepsOptionsPasswordAndSelection() {
        WindowFixture f;
        const QString file = f.photos() + "/a.jpg";
        WriteFile(file, "x");
        f.Select({file});
        f.Find<QGroupBox>("rgsuffix")->findChildren<QRadioButton*>()[1]->click();
        f.Find<QGroupBox>("gbencClass")->findChildren<QRadioButton*>()[1]->click();
        QTest::keyClicks(f.Find<QLineEdit>("edtEnpass"), "abcde");
        const QString folder = f.Find<QLineEdit>("edtdir")->text();
        f.Find<QAction>("men")->trigger();
        f.Find<QAction>("mch")->trigger();
        QCOMPARE(f.window().SuffixMode(), 1);
        QCOMPARE(f.window().EncryptionClassIndex(), 1);
        QCOMPARE(f.Find<QLineEdit>("edtEnpass")->text(), QString("abcde"));
        QCOMPARE(f.Find<QLineEdit>("edtdir")->text(), folder);
        // The selection survived: Encrypt works through its one file.
        f.dialogs().QueueAnswer(false);
        f.Find<QPushButton>("btnenc")->click();
        QCOMPARE(f.Find<QLabel>("lbprogress")->text(), QString("1/1"));
    }

    void passwordBoxTakesTenCharactersAndMasksThem() {
        WindowFixture f;
        auto* pass = f.Find<QLineEdit>("edtEnpass");
        QTest::keyClicks(pass, "abcdefghijkl");
        QCOMPARE(pass->text(), QString("abcdefghij"));
        QCOMPARE(pass->displayText(), QString(10, u'#'));
        QCOMPARE(pass->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, pass),
                 int('#'));
        QCOMPARE(f.window().PasswordText(), std::string("abcdefghij"));

        pass->clear();
        QGuiApplication::clipboard()->setText("0123456789ABCDEF");
        pass->paste();
        QCOMPARE(pass->text(), QString("0123456789"));
        QCOMPARE(pass->displayText(), QString(10, u'#'));
        // Other controls keep the platform style.
        QVERIFY(f.Find<QLineEdit>("edtdir")->style() != pass->style());
    }

    void folderBoxRefusesTyping() {
        WindowFixture f;
        auto* dir = f.Find<QLineEdit>("edtdir");
        QTest::keyClicks(dir, "typed");
        QGuiApplication::clipboard()->setText("pasted");
        QTest::keySequence(dir, QKeySequence::Paste);
        QVERIFY(dir->text().isEmpty());
    }

    void escapePressesCancel_data() {
        QTest::addColumn<QString>("focus");
        QTest::newRow("password box") << "edtEnpass";
        QTest::newRow("Open button") << "btnopen";
        QTest::newRow("folder box") << "edtdir";
    }
    void escapePressesCancel() {
        QFETCH(QString, focus);
        WindowFixture f;
        f.Show();
        QApplication::setActiveWindow(&f.window());
        QVERIFY(QTest::qWaitForWindowActive(&f.window()));
        auto* w = f.window().findChild<QWidget*>(focus);
        w->setFocus();
        QSignalSpy cancel(f.Find<QPushButton>("btncancel"), &QPushButton::clicked);
        QTest::keyClick(w, Qt::Key_Escape);
        QCOMPARE(cancel.count(), 1);
    }

    void accessibleNamesFollowTheCaptions() {
        WindowFixture f(kDeadSiteHost, "en\r\n");
        auto name = [&](const char* control) {
            QAccessibleInterface* a =
                QAccessible::queryAccessibleInterface(f.Find<QWidget>(control));
            return a ? a->text(QAccessible::Name).trimmed() : QString();
        };
        QCOMPARE(name("edtEnpass"), Q(EnglishTable().lbpassword).trimmed());
        QCOMPARE(name("edtdir"), Q(EnglishTable().lbopen).trimmed());
        QCOMPARE(name("btnenc"), Q(EnglishTable().btnenc));
        f.Find<QAction>("mch")->trigger();
        QCOMPARE(name("edtEnpass"), Q(ChineseTable().lbpassword).trimmed());
        QCOMPARE(name("btnenc"), Q(ChineseTable().btnenc));
        // The progress label reads out its live text.
        f.window().SetProgressLabel("2/5");
        QCOMPARE(name("lbprogress"), QString("2/5"));
    }

    void linksOpenThePageOfTheLanguage_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("page");
        QTest::newRow("Online help en") << "N8" << true << "/ien/ehelp.htm";
        QTest::newRow("Online help ch") << "N8" << false << "/ien/help.htm";
        QTest::newRow("About en") << "nabout" << true << "/ien/eabout.htm";
        QTest::newRow("About ch") << "nabout" << false << "/ien/about.htm";
        QTest::newRow("Donate en") << "ndonate" << true << "/ien/edonate.htm";
        QTest::newRow("Donate ch") << "ndonate" << false << "/ien/donate.htm";
    }
    void linksOpenThePageOfTheLanguage() {
        QFETCH(QString, command);
        QFETCH(bool, english);
        QFETCH(QString, page);
        // Started in the other language: the switch counts, not start-up.
        WindowFixture f("www.example.org", english ? "ch\r\n" : "en\r\n");
        f.Find<QAction>(english ? "men" : "mch")->trigger();
        f.window().findChild<QAction*>(command)->trigger();
        QCOMPARE(f.opened().size(), size_t{1});
        QCOMPARE(f.opened().front(), QUrl("http://www.example.org" + page));
    }

    void helpContentOpensTheLocalPage() {
        WindowFixture f;
        const QString folder = QString::fromStdString(f.locations().helpFolder);
        f.Find<QAction>("N7")->trigger();
        f.Find<QAction>("men")->trigger();
        f.Find<QAction>("N7")->trigger();
        QCOMPARE(f.opened().size(), size_t{2});
        QCOMPARE(f.opened()[0], QUrl::fromLocalFile(folder + "help.htm"));
        QCOMPARE(f.opened()[1], QUrl::fromLocalFile(folder + "ehelp.htm"));
    }

    void exitClosesTheWindow() {
        WindowFixture f;
        f.Show();
        f.Find<QAction>("N5")->trigger();
        QVERIFY(!f.window().isVisible());
    }
};

IMGCRYPT_QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
