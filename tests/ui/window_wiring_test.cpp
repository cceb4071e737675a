// The Qt window's wiring, table by table: every button and menu command
// reaches the logic's handler of its name, and every WindowPort call lands on
// the control it names, in both languages. What the handlers do is tested
// once, in tests/batch.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include "batch/form_layout.h"
#include "batch/form_texts.h"
#include "batch/language_tables.h"
#include "ui_test_support.h"

using namespace imgcrypt;
using namespace imgcrypt::test;

namespace {

using Kind = ScriptedDialogs::Kind;

// The caption a control, radio item or menu entry shows.
QString CaptionOf(WindowFixture& f, form::Id id) {
    QObject* item = f.Find<QObject>(id);
    if (auto* button = qobject_cast<QAbstractButton*>(item)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(item)) return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(item)) return group->title();
    if (auto* menu = qobject_cast<QMenu*>(item)) return menu->title();
    if (auto* action = qobject_cast<QAction*>(item)) return action->text();
    return QStringLiteral("(no caption)");
}

std::vector<Kind> KindsShown(WindowFixture& f) {
    std::vector<Kind> kinds;
    for (const auto& record : f.dialogs().records()) kinds.push_back(record.kind);
    return kinds;
}

// Three small files in photos/, their paths.
QStringList ThreeSources(WindowFixture& f) {
    QStringList paths;
    for (const char* name : {"a.jpg", "b.png", "c.gif"}) {
        paths << f.photos() + "/" + name;
        WriteFile(paths.back(), SampleBytes(500, 1));
    }
    return paths;
}

// Starts an encryption of three files with `during` queued to run between
// the first file and the second; what the user saw afterwards.
void RunWith(WindowFixture& f, const std::function<void()>& during) {
    f.Find<QLineEdit>(form::Id::edtEnpass)->setText("secret");
    f.Select(ThreeSources(f));
    f.dialogs().ClearRecords();
    QTimer::singleShot(0, &f.window(), during);
    f.Find<QPushButton>(form::Id::btnenc)->click();
}

}  // namespace

class WindowWiringTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void everyButtonAndMenuCommandReachesItsHandler() {
        const LanguageTable& ch = ChineseTable();
        const QString site = "http://www.example.org/ien/";
        struct Row {
            form::Id id;
            std::vector<Kind> boxes;  // the boxes the handler shows
            QString firstText;        // of the first box
            QString opened;           // the page it opens
        };
        // One row a command.
        // clang-format off
        const std::vector<Row> rows = {
            {form::Id::btnopen, {Kind::OpenFiles}, "", ""},
            {form::Id::N2, {Kind::OpenFiles}, "", ""},
            {form::Id::btnenc, {Kind::Message, Kind::OpenFiles}, Q(ch.messages.msgNoImageEncrypt), ""},
            {form::Id::btndec, {Kind::Message, Kind::OpenFiles}, Q(ch.messages.msgNoImageDecrypt), ""},
            {form::Id::N7, {}, "", "help.htm"},
            {form::Id::N8, {}, "", site + "help.htm"},
            {form::Id::nabout, {}, "", site + "about.htm"},
            {form::Id::ndonate, {}, "", site + "donate.htm"},
        };
        // clang-format on
        for (const Row& row : rows) {
            const QString name = Q(NameOf(row.id));
            WindowFixture f("www.example.org");  // Chinese: the two messages differ
            if (auto* button = f.window().findChild<QPushButton*>(name)) {
                button->click();
            } else {
                f.Find<QAction>(row.id)->trigger();
            }
            QVERIFY2(KindsShown(f) == row.boxes, qPrintable(name));
            if (!row.firstText.isEmpty()) {
                QCOMPARE(Q(f.dialogs().records().front().text), row.firstText);
            }
            if (row.opened.isEmpty()) {
                QVERIFY2(f.opened().empty(), qPrintable(name));
            } else {
                QCOMPARE(f.opened().size(), size_t{1});
                QVERIFY2(f.opened().front().toString().endsWith(row.opened), qPrintable(name));
            }
        }

        // The language commands, and File > Exit.
        WindowFixture f;
        f.Show();
        f.Find<QAction>(form::Id::men)->trigger();
        QCOMPARE(f.window().windowTitle(), Q(EnglishTable().windowCaption));
        f.Find<QAction>(form::Id::mch)->trigger();
        QCOMPARE(f.window().windowTitle(), Q(ch.windowCaption));
        f.Find<QAction>(form::Id::N5)->trigger();
        QTRY_VERIFY(!f.window().isVisible());
    }

    // Cancel, Esc and the close button reach the run between two files.
    void cancelEscapeAndClosingReachARun() {
        WindowFixture f;
        RunWith(f, [&f] { f.Find<QPushButton>(form::Id::btncancel)->click(); });
        QCOMPARE(Q(f.dialogs().records().back().text), Q(ChineseTable().messages.msgCanceled));
        QCOMPARE(f.Find<QLabel>(form::Id::lbprogress)->text(), QString("1/3"));

        WindowFixture g;
        g.Show();
        RunWith(g, [&g] { QTest::keyClick(g.Find<QWidget>(form::Id::edtEnpass), Qt::Key_Escape); });
        QCOMPARE(g.Find<QLabel>(form::Id::lbprogress)->text(), QString("1/3"));

        WindowFixture h;
        h.Show();
        RunWith(h, [&h] { h.window().close(); });
        QCOMPARE(h.Find<QLabel>(form::Id::lbprogress)->text(), QString("1/3"));
        QVERIFY(h.window().isVisible());  // not while the run went on
        QTRY_VERIFY(!h.window().isVisible());
    }

    void everyPortCallLandsOnItsControl_data() {
        QTest::addColumn<bool>("english");
        QTest::newRow("English") << true;
        QTest::newRow("Chinese") << false;
    }
    void everyPortCallLandsOnItsControl() {
        QFETCH(bool, english);
        WindowFixture f;
        f.Show();
        TfrmMain& port = f.window();
        const LanguageTable& table = LanguageTableFor(english);

        // The texts of a language, each on its control; the options, the
        // boxes' contents and the selection stay as they were.
        f.Find<QRadioButton>(form::Id::rgsuffixItem1)->click();
        f.Find<QLineEdit>(form::Id::edtEnpass)->setText("abcde");
        port.SetFolderBoxText("/photos/");
        const FormTexts texts = FormTextsOf(table, "About x");
        port.SetTexts(texts);
        for (const Caption& caption : texts.captions) {
            QCOMPARE(CaptionOf(f, caption.id), Q(caption.text));
        }
        QCOMPARE(port.windowTitle(), Q(table.windowCaption));
        QCOMPARE(CaptionOf(f, form::Id::mch), Q(kChineseCommandCaption));
        QCOMPARE(CaptionOf(f, form::Id::men), Q(kEnglishCommandCaption));
        QCOMPARE(port.SuffixMode(), 1);
        QCOMPARE(port.PasswordText(), std::string("abcde"));
        QCOMPARE(port.FolderBoxText(), std::string("/photos/"));
        QCOMPARE(f.Find<QLineEdit>(form::Id::edtdir)->text(), QString("/photos/"));

        // The controls the logic reads; a Chinese password as its UTF-8.
        f.Find<QLineEdit>(form::Id::edtEnpass)->setText(QStringLiteral("密码abc"));
        QCOMPARE(port.PasswordText(), std::string("密码abc"));
        for (const form::Id group : {form::Id::rgsuffix, form::Id::gbencClass}) {
            const auto items = form::ControlOf(group).items;
            for (std::size_t i = 0; i < items.size(); ++i) {
                f.Find<QRadioButton>(items[i].id)->click();
                const int read =
                    group == form::Id::rgsuffix ? port.SuffixMode() : port.EncryptionClassIndex();
                QCOMPARE(read, static_cast<int>(i));
            }
        }

        // The progress row and the heights.
        port.SetProgressRange(0, 7);
        port.SetProgressPosition(3);
        port.SetProgressLabel("3/7");
        QCOMPARE(f.Find<QProgressBar>(form::Id::ProgressBar1)->maximum(), 7);
        QCOMPARE(f.Find<QProgressBar>(form::Id::ProgressBar1)->value(), 3);
        QCOMPARE(f.Find<QLabel>(form::Id::lbprogress)->text(), QString("3/7"));
        port.SetOuterHeight(form::kRunHeight);
        QTRY_COMPARE(port.centralWidget()->height(), form::ClientHeightForOuter(form::kRunHeight));
        port.SetOuterHeight(form::kRestHeight);
        QTRY_COMPARE(port.centralWidget()->height(), form::ClientHeightForOuter(form::kRestHeight));

        // Decrypt alone, then the run commands and nothing else.
        port.SetDecryptEnabled(false);
        QVERIFY(!f.Find<QWidget>(form::Id::btndec)->isEnabled());
        QVERIFY(f.Find<QWidget>(form::Id::btnenc)->isEnabled());
        port.SetDecryptEnabled(true);
        port.SetRunCommandsEnabled(false);
        for (const form::Id id : form::kRunCommands) {
            QObject* item = f.Find<QObject>(id);
            const bool enabled = qobject_cast<QWidget*>(item)
                                     ? qobject_cast<QWidget*>(item)->isEnabled()
                                     : qobject_cast<QAction*>(item)->isEnabled();
            QVERIFY2(!enabled, NameOf(id).c_str());
        }
        QVERIFY(f.Find<QWidget>(form::Id::btndec)->isEnabled());
        QVERIFY(f.Find<QWidget>(form::Id::btncancel)->isEnabled());
        QVERIFY(f.Find<QAction>(form::Id::N7)->isEnabled());
        port.SetRunCommandsEnabled(true);
        QVERIFY(f.Find<QWidget>(form::Id::btnopen)->isEnabled());
        QVERIFY(f.Find<QAction>(form::Id::men)->isEnabled());

        // The desktop gets paths as files, addresses as they are.
        port.OpenLocalPath("/help/ehelp.htm");
        port.OpenUrl("http://www.example.org/ien/ead.htm");
        QCOMPARE(f.opened().size(), size_t{2});
        QCOMPARE(f.opened()[0], QUrl::fromLocalFile("/help/ehelp.htm"));
        QCOMPARE(f.opened()[1], QUrl("http://www.example.org/ien/ead.htm"));

        // Pending input is handled there and then; Close comes after.
        bool handled = false;
        QTimer::singleShot(0, &port, [&handled] { handled = true; });
        port.ProcessPendingEvents();
        QVERIFY(handled);
        port.Close();
        QVERIFY(port.isVisible());
        QTRY_VERIFY(!port.isVisible());
    }
};

IMGCRYPT_QTEST_MAIN(WindowWiringTest)
#include "window_wiring_test.moc"
