// The boxes and the open dialog as the user meets them.
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "batch/language_tables.h"
#include "ui/dialogs.h"
#include "ui_test_support.h"

using namespace imgcrypt;
using namespace imgcrypt::test;

namespace {

// Answers the next modal box (a Box: message box or file dialog) of an
// QtDialogs: polls, bounded, for it to come up, lets `inspect` look
// at it (and press a key or a button), then closes whatever box is still up.
// A failed check inside `inspect` or a box that comes up late therefore never
// leaves the test waiting; check `failure()` once the call that showed the box
// has returned.
template <typename Box>
class ModalAnswer {
  public:
    explicit ModalAnswer(std::function<void(Box*)> inspect, int timeoutMs = 10000)
        : inspect_(std::move(inspect)), timeoutMs_(timeoutMs) {
        QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
        poll_.start(10);
        clock_.start();
    }

    // Empty when a message box came up in time and was answered.
    QString failure() const {
        if (!answered_) return QStringLiteral("no modal box came up");
        return failure_;
    }

  private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        poll_.stop();
        answered_ = true;
        if (clock_.elapsed() > timeoutMs_) {
            failure_ = QStringLiteral("the box came up after %1 ms").arg(clock_.elapsed());
        }
        QPointer<QWidget> box = modal;
        if (auto* expected = qobject_cast<Box*>(modal)) {
            inspect_(expected);
        } else {
            failure_ = QStringLiteral("the modal widget is a %1, not a %2")
                           .arg(QLatin1String(modal->metaObject()->className()),
                                QLatin1String(Box::staticMetaObject.className()));
        }
        if (box != nullptr && box->isVisible()) {
            if (auto* dialog = qobject_cast<QDialog*>(box.data())) {
                dialog->done(QDialog::Rejected);
            } else {
                box->close();
            }
        }
    }

    std::function<void(Box*)> inspect_;
    int timeoutMs_;
    QTimer poll_;
    QElapsedTimer clock_;
    bool answered_ = false;
    QString failure_;
};

using ModalBoxAnswer = ModalAnswer<QMessageBox>;

QStringList ButtonTexts(QMessageBox* box) {
    QStringList texts;
    for (QAbstractButton* b : box->buttons()) texts << b->text();
    texts.sort();
    return texts;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void filterBecomesQtNameFilters_data() {
        QTest::addColumn<bool>("english");
        QTest::newRow("English") << true;
        QTest::newRow("Chinese") << false;
    }
    void filterBecomesQtNameFilters() {
        QFETCH(bool, english);
        const LanguageTable& t = LanguageTableFor(english);
        const QStringList fields = Q(t.dialogFilter).split('|');
        const QStringList filters = QtNameFilters(FilterEntries(t.dialogFilter));
        QCOMPARE(filters.size(), 2);
        QCOMPARE(filters[0], fields[0] + " (*.JPG *.GIF *.PNG *.BMP *.SVG *.PAD *.***E)");
        // "*.*" means every file, with or without a dot in its name.
        QCOMPARE(filters[1], fields[2] + " (*)");
    }

    void openDialogMatchesImagesInAnyLetterCase_data() {
        QTest::addColumn<int>("filterIndex");
        QTest::newRow("index 0") << 0;
        QTest::newRow("index 4") << 4;
    }
    void openDialogMatchesImagesInAnyLetterCase() {
        QFETCH(int, filterIndex);
        QTemporaryDir dir;
        for (const char* name : {"a.jpg", "B.JPG", "c.Png", "d.jpge", "e.txt", "f"}) {
            WriteFile(dir.filePath(name), "x");
        }
        OpenDialogRequest request;
        request.filter = std::string(EnglishTable().dialogFilter);
        request.filterIndex = filterIndex;
        request.initialFolder = Bytes(dir.path());
        request.defaultFileName = Bytes(dir.filePath("B.JPG"));
        QFileDialog dialog;
        ConfigureOpenDialog(dialog, request);
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFiles);
        QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
        // The first entry, shown by its description alone as the Windows dialog does.
        QCOMPARE(dialog.selectedNameFilter(), Q(request.filter).split('|').front());
        QCOMPARE(QDir::cleanPath(dialog.directory().path()), QDir::cleanPath(dir.path()));
        QCOMPARE(dialog.selectedFiles(), QStringList({dir.filePath("B.JPG")}));

        auto* model = dialog.findChild<QFileSystemModel*>();
        QVERIFY(model != nullptr);
        QStringList visible;
        QTRY_VERIFY([&] {
            visible.clear();
            const QModelIndex folder = model->index(dir.path());
            for (int row = 0; row < model->rowCount(folder); ++row) {
                visible << model->index(row, 0, folder).data().toString();
            }
            return visible.size() >= 4;
        }());
        visible.sort(Qt::CaseInsensitive);
        QCOMPARE(visible, QStringList({"a.jpg", "B.JPG", "c.Png", "d.jpge"}));
    }

    // Qt's own answer prefers the list's selection, which puts the last
    // selection's file first and may lose a name when a list is pasted; the
    // answer holds every named file that exists, in the order named.
    void pastedListOfNamesAnswersEveryFileInTheOrderNamed() {
        QTemporaryDir dir;
        const QStringList names = {"b.jpg", "照片 1.jpg", "a.jpg", "c.jpg"};
        for (const QString& name : names) WriteFile(dir.filePath(name), "x");
        OpenDialogRequest request;
        request.filter = std::string(EnglishTable().dialogFilter);
        request.initialFolder = Bytes(dir.path());
        request.defaultFileName = Bytes(dir.filePath("a.jpg"));  // the last selection's first
        ModalAnswer<QFileDialog> paste([&](QFileDialog* dialog) {
            auto* model = dialog->findChild<QFileSystemModel*>();
            QVERIFY(QTest::qWaitFor(
                [&] { return model->rowCount(model->index(dir.path())) == names.size(); }, 10000));
            auto* nameBox = dialog->findChild<QLineEdit*>("fileNameEdit");
            // Pasted as a user does, into the box with the focus.
            dialog->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            nameBox->setFocus();
            nameBox->setText("\"" + names.join("\" \"") + "\" \"gone.jpg\"");
            QTest::keyClick(nameBox, Qt::Key_Return);
        });
        const std::vector<std::string> chosen = QtDialogs(nullptr).OpenFiles(request);
        QVERIFY2(paste.failure().isEmpty(), qPrintable(paste.failure()));
        std::vector<std::string> expected;
        for (const QString& name : names) expected.push_back(Bytes(dir.filePath(name)));
        QCOMPARE(chosen, expected);
    }

    void confirmationBoxAsTheUserSeesIt() {
        QtDialogs dialogs(nullptr);
        QString shownText;
        ModalBoxAnswer escape([&](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), QString("Confirm"));
            QCOMPARE(box->icon(), QMessageBox::Question);
            QCOMPARE(ButtonTexts(box), QStringList({"&No", "&Yes"}));
            QCOMPARE(box->defaultButton()->text(), QString("&Yes"));
            QCOMPARE(box->escapeButton()->text(), QString("&No"));
            shownText = box->text();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        // Esc answers No; the lone carriage return shows as a line break.
        QVERIFY(!dialogs.Confirm("3 done\rD:/photos/encrypted"));
        QVERIFY2(escape.failure().isEmpty(), qPrintable(escape.failure()));
        QCOMPARE(shownText, QString("3 done\nD:/photos/encrypted"));

        ModalBoxAnswer enter([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
        QVERIFY(dialogs.Confirm("again"));  // Enter takes the default, Yes
        QVERIFY2(enter.failure().isEmpty(), qPrintable(enter.failure()));
    }

    void messageAndErrorBoxesAsTheUserSeesThem() {
        QtDialogs dialogs(nullptr);
        ModalBoxAnswer error([](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), QString("Title"));
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->icon(), QMessageBox::Critical);
            box->buttons().front()->click();
        });
        dialogs.Error("Title", "Cannot open file \"x\". No such file or directory.");
        QVERIFY2(error.failure().isEmpty(), qPrintable(error.failure()));
        ModalBoxAnswer message([](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), QString("App"));
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->icon(), QMessageBox::Information);
            box->buttons().front()->click();
        });
        dialogs.Message("App", "Canceled!");
        QVERIFY2(message.failure().isEmpty(), qPrintable(message.failure()));
    }
};

IMGCRYPT_QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
