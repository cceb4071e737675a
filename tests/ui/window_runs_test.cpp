// Whole encryption and decryption runs clicked through the real window, with
// the dialogs answered in advance and real files in a temporary folder, and
// files dropped on it. The rules of the runs are tested in tests/batch.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>
#include <memory>

#include "batch/language_tables.h"
#include "codec/file_operations.h"
#include "codec/sealed_writer.h"
#include "tests/support/sealed_files.h"
#include "ui_test_support.h"

using namespace imgcrypt;
using namespace imgcrypt::test;

namespace {

using Kind = ScriptedDialogs::Kind;

// What the window looked like while a box was up.
struct Snapshot {
    Kind kind;
    int clientHeight;
    QString progressLabel;
    bool openEnabled, encryptEnabled, decryptEnabled, languageEnabled, cancelEnabled;
};

class RunFixture : public WindowFixture {
  public:
    explicit RunFixture(bool english)
        : WindowFixture(kDeadSiteHost, english ? "en\r\n" : "ch\r\n") {
        dialogs().SetObserver([this](const ScriptedDialogs::Record& r) {
            snapshots.push_back(
                {r.kind, window().centralWidget()->height(),
                 Find<QLabel>("lbprogress")->text(), Find<QPushButton>("btnopen")->isEnabled(),
                 Find<QPushButton>("btnenc")->isEnabled(), Find<QPushButton>("btndec")->isEnabled(),
                 Find<QAction>("men")->isEnabled(), Find<QPushButton>("btncancel")->isEnabled()});
        });
    }

    // Three sources of different sizes; the names vary in letter case.
    QStringList MakeSources() {
        QStringList paths;
        const QStringList names = {"a.jpg", "B.PNG", "c d.gif"};
        for (int i = 0; i < names.size(); ++i) {
            const QString path = photos() + "/" + names[i];
            WriteFile(path, SampleBytes(300 + 4000 * i, i));
            paths << path;
        }
        return paths;
    }
    void setOptions(int suffixMode, int encryptionClass) {
        Radio("rgsuffix", suffixMode)->click();
        Radio("gbencClass", encryptionClass)->click();
    }
    QRadioButton* Radio(const char* group, int item) {
        return window()
            .findChild<QWidget*>(QLatin1String(group))
            ->findChildren<QRadioButton*>()[item];
    }
    void TypePassword(const QString& password) {
        auto* box = Find<QLineEdit>("edtEnpass");
        box->clear();
        QTest::keyClicks(box, password);
    }
    QString FolderBox() { return Find<QLineEdit>("edtdir")->text(); }

    std::vector<Snapshot> snapshots;
};

// A drag of files as a file manager offers it: their addresses and, for
// controls that take text, the paths as text.
std::unique_ptr<QMimeData> FileDrag(const QStringList& paths) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    data->setText(paths.join(u'\n'));
    return data;
}

struct DropOutcome {
    bool entered = false;
    bool dropped = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

// Drags `data` onto `target` at `position` with a move proposed, and drops
// it there when the drag is taken.
DropOutcome DragAndDrop(QObject* target, const QMimeData& data, QPoint position = {250, 60}) {
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(position, offered, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
        return {};
    }
    QDropEvent drop(position, offered, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(target, &drop);
    return {true, drop.isAccepted(), drop.dropAction()};
}

}  // namespace

class WindowRunsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void encryptionAndDecryptionRoundTrip_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("suffixMode");
        QTest::addColumn<int>("encryptionClass");
        QTest::newRow("English, same name, standard") << true << 0 << 0;
        QTest::newRow("Chinese, E appended, high level") << false << 1 << 1;
        QTest::newRow("English, E appended, sealed") << true << 1 << 2;
    }
    void encryptionAndDecryptionRoundTrip() {
        QFETCH(bool, english);
        QFETCH(int, suffixMode);
        QFETCH(int, encryptionClass);
        const LanguageTable& t = LanguageTableFor(english);
        RunFixture f(english);
        f.Show();
        const QStringList sources = f.MakeSources();
        f.setOptions(suffixMode, encryptionClass);
        f.TypePassword("pa$$w0rd");
        f.Select(sources);
        QCOMPARE(f.FolderBox(), f.photos() + "/");

        // --- Encrypt ---
        f.dialogs().QueueAnswer(true);
        f.snapshots.clear();
        f.Find<QPushButton>("btnenc")->click();

        QCOMPARE(f.dialogs().unanswered(), 0);
        QCOMPARE(f.snapshots.size(), size_t{1});
        const Snapshot& atEnd = f.snapshots.front();
        QCOMPARE(atEnd.kind, Kind::Confirm);
        QCOMPARE(atEnd.clientHeight, form::ClientHeightForOuter(form::kRunHeight));
        QCOMPARE(atEnd.progressLabel, QString("3/3"));
        QVERIFY(!atEnd.openEnabled && !atEnd.encryptEnabled && !atEnd.decryptEnabled);
        QVERIFY(!atEnd.languageEnabled);
        QVERIFY(atEnd.cancelEnabled);
        const ScriptedDialogs::Record& question = f.dialogs().records().back();
        QCOMPARE(question.caption, std::string("Confirm"));
        QCOMPARE(Q(question.text), "3" + Q(t.messages.msgEncryptDone) + "\r" + f.FolderBox() +
                                       Q(t.messages.dirEncrypted));
        const QString encryptedDir = f.FolderBox() + Q(t.messages.dirEncrypted);
        QCOMPARE(f.opened().size(), size_t{1});
        QCOMPARE(QDir::cleanPath(f.opened().back().toLocalFile()), encryptedDir);

        // Back at rest.
        QTRY_COMPARE(f.window().centralWidget()->height(),
                     form::ClientHeightForOuter(form::kRestHeight));
        QCOMPARE(f.Find<QProgressBar>("ProgressBar1")->value(), 0);
        QCOMPARE(f.Find<QLabel>("lbprogress")->text(), QString("3/3"));
        QVERIFY(f.Find<QPushButton>("btnenc")->isEnabled());
        QVERIFY(f.Find<QPushButton>("btndec")->isEnabled());
        QVERIFY(f.Find<QAction>("N2")->isEnabled());

        // The containers carry the class chosen in the window.
        QStringList containers;
        for (const QString& source : sources) {
            const QString container = QString::fromStdString(EncryptedOutputPath(
                Bytes(source), t.messages.dirEncrypted, suffixMode == 1 ? "E" : ""));
            QVERIFY2(QFileInfo(container).dir().path() == encryptedDir, qPrintable(container));
            const char* const marker[] = {"****\r\n", "@@@@\r\n", "####\r\n"};
            QVERIFY(ReadFile(container).endsWith(marker[encryptionClass]));
            QCOMPARE(ReadFile(container).startsWith("IMGCRYPT-SEALED-1\r\n"), encryptionClass == 2);
            containers << container;
        }

        // --- Decrypt the containers ---
        f.Select(containers);
        f.dialogs().QueueAnswer(true);
        f.snapshots.clear();
        f.Find<QPushButton>("btndec")->click();
        QCOMPARE(f.dialogs().unanswered(), 0);
        QCOMPARE(f.snapshots.size(), size_t{1});
        QCOMPARE(f.snapshots.front().clientHeight, form::ClientHeightForOuter(form::kRunHeight));
        QCOMPARE(f.snapshots.front().progressLabel, QString("3/3"));
        QCOMPARE(Q(f.dialogs().records().back().text), "3" + Q(t.messages.msgDecryptDone) + "\r" +
                                                           f.FolderBox() + Q(t.messages.dirDecrypted));
        QCOMPARE(QDir::cleanPath(f.opened().back().toLocalFile()),
                 f.FolderBox() + Q(t.messages.dirDecrypted));
        // Byte for byte, under the source names.
        for (const QString& source : sources) {
            const QString decrypted =
                f.FolderBox() + Q(t.messages.dirDecrypted) + "/" + QFileInfo(source).fileName();
            QCOMPARE(ReadFile(decrypted), ReadFile(source));
        }
    }

    // What the window shows for sealed files it refuses: a damaged one gets
    // its message and nothing is written; ten wrong passwords lock Decrypt.
    void sealedRefusals() {
        RunFixture f(true);
        f.Show();
        const SealingKey key("pa$$w0rd", kQuickCost);
        const QString sealed = f.photos() + "/s.jpg";
        const std::string container =
            MakeSealedFile(std::string(200'000, 'x'), key, DrawFileNonce());
        WriteFile(sealed, QByteArray::fromStdString(container));
        const QString tampered = f.photos() + "/t.jpg";
        WriteFile(tampered, QByteArray::fromStdString(Tampered(container)));

        f.TypePassword("pa$$w0rd");
        f.Select({tampered});
        f.dialogs().ClearRecords();
        f.Find<QPushButton>("btndec")->click();
        QCOMPARE(f.dialogs().records().size(), size_t{1});
        QCOMPARE(f.dialogs().records().back().kind, Kind::Error);
        QCOMPARE(Q(f.dialogs().records().back().text), Q(EnglishTable().sealed.damaged) + "t.jpg");
        QVERIFY(QDir(f.photos() + "/decrypted").isEmpty());
        QTRY_COMPARE(f.window().centralWidget()->height(),
                     form::ClientHeightForOuter(form::kRestHeight));

        f.TypePassword("wrong12");
        f.Select({sealed});
        f.dialogs().ClearRecords();
        for (int i = 0; i < 10; ++i) f.Find<QPushButton>("btndec")->click();
        QCOMPARE(f.dialogs().records().size(), size_t{11});
        QCOMPARE(Q(f.dialogs().records()[9].text), Q(EnglishTable().messages.msgWrongPassword));
        QCOMPARE(Q(f.dialogs().records()[10].text), Q(EnglishTable().messages.msgTenTries));
        QVERIFY(!f.Find<QPushButton>("btndec")->isEnabled());
        QVERIFY(f.Find<QPushButton>("btnenc")->isEnabled());
        QVERIFY(QDir(f.photos() + "/decrypted").isEmpty());
    }

    // Files dropped anywhere on the window select as the dialog would, and
    // stay where they are: the window takes them as a copy, never a move.
    void droppedFilesAreSelectedWhereverTheyLand_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("the window") << "";
        QTest::newRow("over the password box") << "edtEnpass";
        QTest::newRow("over the banner") << "WebBrowser1";
    }
    void droppedFilesAreSelectedWhereverTheyLand() {
        QFETCH(QString, target);
        RunFixture f(true);
        f.Show();
        const QStringList sources = f.MakeSources();
        QDir(f.photos()).mkdir("sub");
        f.TypePassword("secret");
        // The drag goes to the native window, which looks for a control under
        // the pointer, or straight to the window.
        QObject* receiver = &f.window();
        QPoint position(250, 60);
        if (!target.isEmpty()) {
            const auto* control = f.window().findChild<QWidget*>(target);
            position = control->mapTo(&f.window(), control->rect().center());
            receiver = f.window().windowHandle();
        }
        const auto drag = FileDrag({sources[2], f.photos() + "/sub", sources[0]});
        const DropOutcome outcome = DragAndDrop(receiver, *drag, position);
        QVERIFY(outcome.entered && outcome.dropped);
        QCOMPARE(outcome.action, Qt::CopyAction);
        QCOMPARE(f.FolderBox(), f.photos() + "/");
        QCOMPARE(f.Find<QLineEdit>("edtEnpass")->text(), QString("secret"));

        f.dialogs().QueueAnswer(false);
        f.Find<QPushButton>("btnenc")->click();
        QCOMPARE(f.Find<QLabel>("lbprogress")->text(), QString("2/2"));
        QStringList written = QDir(f.photos() + "/encrypted").entryList(QDir::Files);
        written.sort();
        QCOMPARE(written, QStringList({"a.jpg", "c d.gif"}));
        for (const QString& source : sources) QVERIFY(QFileInfo::exists(source));
        // In the order dropped: the first one is the dialog's next default.
        f.dialogs().QueueOpenFiles({});
        f.Find<QPushButton>("btnopen")->click();
        QCOMPARE(QString::fromStdString(f.dialogs().records().back().request.defaultFileName),
                 sources[2]);
    }

    void dragsFromSeveralFoldersAndDuringARunAreRefused() {
        RunFixture f(true);
        f.Show();
        const QStringList sources = f.MakeSources();
        QDir(f.photos()).mkdir("sub");
        const QString inSub = f.photos() + "/sub/x.jpg";
        WriteFile(inSub, "x");
        QVERIFY(!DragAndDrop(&f.window(), *FileDrag({sources[0], inSub})).entered);
        QMimeData webLink;
        webLink.setUrls({QUrl("http://www.example.com/a.jpg")});
        QVERIFY(!DragAndDrop(&f.window(), webLink).entered);
        QVERIFY(f.FolderBox().isEmpty());

        // While the run asks its closing question the drag is refused and
        // even a drop sent anyway leaves the selection alone.
        f.TypePassword("secret");
        f.Select(sources);
        const auto drag = FileDrag({inSub});
        bool refused = false;
        f.dialogs().SetObserver([&](const ScriptedDialogs::Record& record) {
            if (record.kind != Kind::Confirm) return;
            refused = !DragAndDrop(f.window().windowHandle(), *drag).entered;
            QDropEvent drop(QPointF(250, 60), Qt::CopyAction, drag.get(), Qt::LeftButton,
                            Qt::NoModifier);
            QCoreApplication::sendEvent(&f.window(), &drop);
        });
        f.dialogs().QueueAnswer(false);
        f.Find<QPushButton>("btnenc")->click();
        QVERIFY(refused);
        QCOMPARE(f.FolderBox(), f.photos() + "/");
        QCOMPARE(f.Find<QLabel>("lbprogress")->text(), QString("3/3"));
        QVERIFY(DragAndDrop(&f.window(), *drag).dropped);
        QCOMPARE(f.FolderBox(), f.photos() + "/sub/");
    }
};

IMGCRYPT_QTEST_MAIN(WindowRunsTest)
#include "window_runs_test.moc"
