// Whole encryption and decryption runs clicked through the real window, with
// the dialogs answered in advance and real files in a temporary folder.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWindow>
#include <memory>

#include "batch/language_tables.h"
#include "codec/container.h"
#include "codec/file_operations.h"
#include "runtime/generator.h"
#include "tests/support/container_bytes.h"
#include "ui_test_support.h"

using namespace imgcrypt;
using namespace imgcrypt::test;

namespace {

// What the window looked like while a box was up.
struct Snapshot {
    Dialogs::Kind kind;
    int outerHeight;
    int clientHeight;
    QString progressLabel;
    bool openEnabled, encryptEnabled, decryptEnabled, languageEnabled, cancelEnabled;
};

class RunFixture : public WindowFixture {
  public:
    explicit RunFixture(bool english)
        : WindowFixture(kDeadSiteHost, english ? "en\r\n" : "ch\r\n") {
        dialogs().SetObserver([this](const Dialogs::Record& r) {
            snapshots.push_back(
                {r.kind, window().outerHeight(), window().centralWidget()->height(),
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
        const std::uint32_t generatorBefore = GeneratorState();
        f.dialogs().QueueAnswer(true);
        f.snapshots.clear();
        f.Find<QPushButton>("btnenc")->click();

        QCOMPARE(f.dialogs().unanswered(), 0);
        QCOMPARE(f.snapshots.size(), size_t{1});
        const Snapshot& atEnd = f.snapshots.front();
        QCOMPARE(atEnd.kind, Dialogs::Kind::Confirm);
        QCOMPARE(atEnd.outerHeight, kRunHeight);
        QCOMPARE(atEnd.clientHeight, 347);
        QCOMPARE(atEnd.progressLabel, QString("3/3"));
        QVERIFY(!atEnd.openEnabled && !atEnd.encryptEnabled && !atEnd.decryptEnabled);
        QVERIFY(!atEnd.languageEnabled);
        QVERIFY(atEnd.cancelEnabled);
        const Dialogs::Record& question = f.dialogs().records().back();
        QCOMPARE(question.caption, QString("Confirm"));
        QCOMPARE(question.text, "3" + Q(t.messages.msgEncryptDone) + "\r" + f.FolderBox() +
                                    Q(t.messages.dirEncrypted));
        const QString encryptedDir = f.FolderBox() + Q(t.messages.dirEncrypted);
        QCOMPARE(f.opened().size(), size_t{1});
        QCOMPARE(QDir::cleanPath(f.opened().back().toLocalFile()), encryptedDir);

        // Back at rest.
        QCOMPARE(f.window().outerHeight(), kRestHeight);
        QTRY_COMPARE(f.window().centralWidget()->height(), 317);
        QCOMPARE(f.Find<QProgressBar>("ProgressBar1")->value(), 0);
        QCOMPARE(f.Find<QLabel>("lbprogress")->text(), QString("3/3"));
        QVERIFY(f.Find<QPushButton>("btnenc")->isEnabled());
        QVERIFY(f.Find<QPushButton>("btndec")->isEnabled());
        QVERIFY(f.Find<QAction>("N2")->isEnabled());

        // The containers are exactly what the codec writes from the same
        // generator state.
        SetGeneratorState(generatorBefore);
        QStringList containers;
        for (const QString& source : sources) {
            const QByteArray bytes = ReadFile(source);
            const std::string expected = MakeContainerFile(
                std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), "pa$$w0rd",
                static_cast<EncryptionClass>(encryptionClass));
            const QString container = QString::fromStdString(EncryptedOutputPath(
                Bytes(source), t.messages.dirEncrypted, suffixMode == 1 ? "E" : ""));
            QVERIFY2(QFileInfo(container).dir().path() == encryptedDir, qPrintable(container));
            QCOMPARE(ReadFile(container), QByteArray::fromStdString(expected));
            containers << container;
        }

        // --- Decrypt the containers ---
        f.Select(containers);
        f.dialogs().QueueAnswer(true);
        f.snapshots.clear();
        f.Find<QPushButton>("btndec")->click();
        QCOMPARE(f.dialogs().unanswered(), 0);
        QCOMPARE(f.snapshots.size(), size_t{1});
        QCOMPARE(f.snapshots.front().outerHeight, kRunHeight);
        QCOMPARE(f.snapshots.front().progressLabel, QString("3/3"));
        QCOMPARE(f.dialogs().records().back().text, "3" + Q(t.messages.msgDecryptDone) + "\r" +
                                                        f.FolderBox() + Q(t.messages.dirDecrypted));
        QCOMPARE(QDir::cleanPath(f.opened().back().toLocalFile()),
                 f.FolderBox() + Q(t.messages.dirDecrypted));
        QCOMPARE(f.window().outerHeight(), kRestHeight);
        // Byte for byte, under the source names.
        for (const QString& source : sources) {
            const QString decrypted =
                f.FolderBox() + Q(t.messages.dirDecrypted) + "/" + QFileInfo(source).fileName();
            QCOMPARE(ReadFile(decrypted), ReadFile(source));
        }
    }

    void cancelDuringARunStopsAfterTheCurrentFile() {
        RunFixture f(true);
        f.Show();
        const QStringList sources = f.MakeSources();
        f.TypePassword("secret");
        f.Select(sources);
        // Esc reaches the window between files, while the run processes events.
        QTimer::singleShot(0, &f.window(), [&f] {
            QTest::keyClick(f.Find<QLineEdit>("edtEnpass"), Qt::Key_Escape);
        });
        f.Find<QPushButton>("btnenc")->click();
        const auto& shown = f.dialogs().records();
        QCOMPARE(shown.size(), size_t{2});  // open dialog, then the cancel message
        QCOMPARE(shown.back().kind, Dialogs::Kind::Message);
        QCOMPARE(shown.back().text, Q(EnglishTable().messages.msgCanceled));
        QCOMPARE(f.Find<QLabel>("lbprogress")->text(), QString("1/3"));
        QCOMPARE(QDir(f.photos() + "/encrypted").entryList(QDir::Files).size(), 1);
        QCOMPARE(f.window().outerHeight(), kRestHeight);
        QVERIFY(f.Find<QPushButton>("btnenc")->isEnabled());
        QVERIFY(f.opened().empty());
    }

    void closingDuringARunCancelsItThenCloses() {
        RunFixture f(true);
        f.Show();
        f.TypePassword("secret");
        f.Select(f.MakeSources());
        QTimer::singleShot(0, &f.window(), [&f] { f.window().close(); });
        f.Find<QPushButton>("btnenc")->click();
        QCOMPARE(f.dialogs().records().back().text, Q(EnglishTable().messages.msgCanceled));
        QTRY_VERIFY(!f.window().isVisible());
    }

    void tenWrongPasswordsDisableTheDecryptButton() {
        RunFixture f(true);
        const QString source = f.photos() + "/only.jpg";
        WriteFile(source, SampleBytes(500, 7));
        f.TypePassword("right1");
        f.Select({source});
        f.dialogs().QueueAnswer(false);  // do not open the folder
        f.Find<QPushButton>("btnenc")->click();
        f.Select({f.photos() + "/encrypted/only.jpg"});

        f.TypePassword("wrong1");
        auto* decrypt = f.Find<QPushButton>("btndec");
        for (int press = 1; press <= 10; ++press) {
            QVERIFY2(decrypt->isEnabled(), qPrintable(QString::number(press)));
            f.dialogs().ClearRecords();
            decrypt->click();
            const auto& shown = f.dialogs().records();
            QVERIFY(!shown.empty());
            QCOMPARE(shown.front().text, Q(EnglishTable().messages.msgWrongPassword));
        }
        QVERIFY(!decrypt->isEnabled());
        QCOMPARE(f.dialogs().records().back().text, Q(EnglishTable().messages.msgTenTries));

        // A later encryption run does not bring the button back.
        f.Select({source});
        f.dialogs().QueueAnswer(false);
        f.Find<QPushButton>("btnenc")->click();
        QVERIFY(f.Find<QPushButton>("btnenc")->isEnabled());
        QVERIFY(!decrypt->isEnabled());
        QCOMPARE(f.dialogs().unanswered(), 0);
    }

    void anErrorInARunIsShownAndTheWindowReturnsToRest() {
        RunFixture f(true);
        const QString source = f.photos() + "/one.jpg";
        WriteFile(source, SampleBytes(500, 3));
        f.TypePassword("secret");
        f.Select({source});
        f.dialogs().QueueAnswer(false);
        f.Find<QPushButton>("btnenc")->click();
        const QString container = f.photos() + "/encrypted/one.jpg";
        // The second container vanishes between selection and run.
        f.Select({container, f.photos() + "/encrypted/gone.jpg"});
        f.dialogs().ClearRecords();
        f.Find<QPushButton>("btndec")->click();
        const auto& shown = f.dialogs().records();
        QCOMPARE(shown.size(), size_t{1});
        QCOMPARE(shown.front().kind, Dialogs::Kind::Error);
        QCOMPARE(shown.front().caption, Q(EnglishTable().applicationTitle));
        QVERIFY(!shown.front().text.isEmpty());
        QCOMPARE(f.window().outerHeight(), kRestHeight);
        QCOMPARE(f.Find<QProgressBar>("ProgressBar1")->value(), 0);
        QVERIFY(f.Find<QPushButton>("btnopen")->isEnabled());
        QVERIFY(f.Find<QPushButton>("btndec")->isEnabled());
        QVERIFY(f.Find<QAction>("mch")->isEnabled());
    }

    void emptySelectionShowsTheMessageThenTheDialog_data() {
        QTest::addColumn<int>("suffixMode");
        QTest::addColumn<int>("filterIndex");
        QTest::newRow("same name") << 0 << 0;
        QTest::newRow("E appended") << 1 << 4;
    }
    void emptySelectionShowsTheMessageThenTheDialog() {
        QFETCH(int, suffixMode);
        QFETCH(int, filterIndex);
        RunFixture f(false);
        f.setOptions(suffixMode, 0);
        f.dialogs().QueueOpenFiles({});
        f.Find<QPushButton>("btndec")->click();
        const auto& shown = f.dialogs().records();
        QCOMPARE(shown.size(), size_t{2});
        QCOMPARE(shown[0].text, Q(ChineseTable().messages.msgNoImageDecrypt));
        QCOMPARE(shown[1].kind, Dialogs::Kind::OpenFiles);
        QCOMPARE(shown[1].request.filterIndex, filterIndex);
        QVERIFY(shown[1].request.initialFolder.empty());  // first dialog since start-up
        QVERIFY(f.FolderBox().isEmpty());
        // Still nothing selected: the next press asks again.
        f.dialogs().QueueOpenFiles({});
        f.Find<QPushButton>("btndec")->click();
        QCOMPARE(shown.size(), size_t{4});
        QCOMPARE(shown[2].text, Q(ChineseTable().messages.msgNoImageDecrypt));
    }

    void fileOpenAndTheOpenButtonBehaveAlike() {
        RunFixture f(true);
        const QStringList sources = f.MakeSources();
        f.dialogs().QueueOpenFiles(sources);
        f.Find<QAction>("N2")->trigger();
        QCOMPARE(f.FolderBox(), f.photos() + "/");
        // A refused password: Encrypt only sets the progress bar up for the selection.
        f.TypePassword("abc");
        f.Find<QPushButton>("btnenc")->click();
        QCOMPARE(f.Find<QProgressBar>("ProgressBar1")->maximum(), 3);
        // A cancelled dialog keeps the earlier selection whole; the next one
        // starts in the program's folder with the first path as default name.
        f.dialogs().QueueOpenFiles({});
        f.Find<QPushButton>("btnopen")->click();
        QCOMPARE(f.FolderBox(), f.photos() + "/");
        const OpenDialogRequest& second = f.dialogs().records().back().request;
        QCOMPARE(QDir::cleanPath(QString::fromStdString(second.initialFolder)),
                 QDir::cleanPath(QString::fromStdString(f.locations().exeFolder)));
        QCOMPARE(QString::fromStdString(second.defaultFileName), sources.front());
        f.Find<QPushButton>("btnenc")->click();
        QCOMPARE(f.Find<QProgressBar>("ProgressBar1")->maximum(), 3);
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
        f.dialogs().SetObserver([&](const Dialogs::Record& record) {
            if (record.kind != Dialogs::Kind::Confirm) return;
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
