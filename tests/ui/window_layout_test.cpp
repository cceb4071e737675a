// The form as the Qt window builds it: places, kinds and initial state,
// focus order, menu tree, frame and heights, the password and folder boxes,
// Esc, and accessibility. What the controls do is the wiring test's.
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include "batch/form_layout.h"
#include "batch/language_tables.h"
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

QRect Rect(const form::Rect& r) {
    return {r.left, r.top, r.width, r.height};
}

bool IsLabel(const form::Control& control) {
    return control.kind == form::Kind::Label || control.kind == form::Kind::CentredLabel;
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void controlsSitWhereTheFormPutsThem() {
        WindowFixture f;
        f.Show();
        for (int pass = 0; pass < 2; ++pass) {
            for (const form::Control& control : form::kControls) {
                auto* w = f.Find<QWidget>(control.id);
                QVERIFY(w != nullptr);
                QCOMPARE(w->parentWidget(), f.window().centralWidget());
                QCOMPARE(w->geometry(), Rect(control.rect));
                for (std::size_t i = 0; i < control.items.size(); ++i) {
                    auto* item = f.Find<QRadioButton>(control.items[i].id);
                    QCOMPARE(item->parentWidget(), w);
                    QCOMPARE(item->geometry(),
                             Rect(form::RadioItemRectInGroup(control, static_cast<int>(i))));
                }
            }
            // Resizing the frame moves nothing.
            f.window().resize(f.window().width() + 120, f.window().height() + 80);
            QCoreApplication::processEvents();
        }
    }

    // The sealed class's caption is the form's longest: at 96 DPI it fits
    // its row in the form's font, in both languages.
    void sealedClassCaptionFitsWithoutShrinking() {
        WindowFixture f(kDeadSiteHost, "en\r\n");
        auto* item = f.Find<QRadioButton>(form::Id::gbencClassItem2);
        for (const bool english : {true, false}) {
            f.Find<QAction>(english ? form::Id::men : form::Id::mch)->trigger();
            QCOMPARE(item->text(), Q(LanguageTableFor(english).gbencClassItems[2]));
            QCOMPARE(item->font().pixelSize(), form::kFontPixels);
            qInfo("%s: %d of %d pixels", english ? "English" : "Chinese", item->sizeHint().width(),
                  item->width());
            QVERIFY(item->sizeHint().width() <= item->width());
        }
    }

    void kindsAndInitialStateOfTheControls() {
        WindowFixture f;
        for (const form::Control& control : form::kControls) {
            const char* name = control.name.data();
            switch (control.kind) {
                case form::Kind::Label:
                case form::Kind::CentredLabel: {
                    auto* label = f.Find<QLabel>(control.id);
                    QVERIFY2(label != nullptr, name);
                    QCOMPARE(bool(label->alignment() & Qt::AlignHCenter),
                             control.kind == form::Kind::CentredLabel);
                    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
                    break;
                }
                case form::Kind::ReadOnlyEdit:
                    QVERIFY2(f.Find<QLineEdit>(control.id)->isReadOnly(), name);
                    QVERIFY(f.Find<QLineEdit>(control.id)->text().isEmpty());
                    break;
                case form::Kind::PasswordEdit: {
                    auto* box = f.Find<QLineEdit>(control.id);
                    QCOMPARE(box->maxLength(), 10);
                    QCOMPARE(box->echoMode(), QLineEdit::Password);
                    QVERIFY(box->text().isEmpty());
                    break;
                }
                case form::Kind::RadioGroup:
                    QVERIFY2(f.Find<QGroupBox>(control.id) != nullptr, name);
                    for (std::size_t i = 0; i < control.items.size(); ++i) {
                        QCOMPARE(f.Find<QRadioButton>(control.items[i].id)->isChecked(), i == 0);
                    }
                    break;
                case form::Kind::Button:
                    QVERIFY2(f.Find<QPushButton>(control.id)->isEnabled(), name);
                    break;
                case form::Kind::ProgressBar:
                    QCOMPARE(f.Find<QProgressBar>(control.id)->value(), 0);
                    break;
                case form::Kind::Banner:
                    break;
            }
        }
        QVERIFY(f.Find<QLabel>(form::Id::lbprogress)->text().isEmpty());
        QVERIFY(f.dialogs().records().empty());  // a clean start shows no box
    }

    void windowFrameAndHeights() {
        WindowFixture f;
        f.Show();
        const Qt::WindowFlags flags = f.window().windowFlags();
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QVERIFY(!f.window().windowIcon().isNull());
        // At rest the client area ends right above the progress row; during
        // a run it holds the whole row.
        QWidget* client = f.window().centralWidget();
        QCOMPARE(client->height(), form::ClientHeightForOuter(form::kRestHeight));
        QCOMPARE(client->width(), form::kClientWidth);
        QVERIFY(client->height() <= f.Find<QWidget>(form::Id::btncancel)->geometry().top());
        QVERIFY(client->height() <= f.Find<QWidget>(form::Id::ProgressBar1)->geometry().top());
        f.window().SetOuterHeight(form::kRunHeight);
        QTRY_COMPARE(client->height(), form::ClientHeightForOuter(form::kRunHeight));
        QVERIFY(client->height() > f.Find<QWidget>(form::Id::btncancel)->geometry().bottom());
    }

    void tabWalksTheFormsOrder() {
        WindowFixture f;
        QStringList expected;
        for (const form::Control& control : form::kControls) {
            if (!IsLabel(control)) expected << Q(control.name);
        }
        QStringList seen;
        QWidget* start = f.Find<QWidget>(form::Id::btnopen);
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
    }

    void menuTreeFollowsTheForm() {
        WindowFixture f;
        QMenuBar* bar = f.window().menuBar();
        QStringList top, expectedTop;
        for (QAction* a : bar->actions()) top << a->objectName();
        for (const form::MenuEntry& entry : form::kMenu) {
            if (!entry.parent) expectedTop << Q(entry.name);
        }
        QCOMPARE(top, expectedTop);
        for (const form::MenuEntry& entry : form::kMenu) {
            const QString name = Q(entry.name);
            if (entry.parent) {
                QAction* a = f.Find<QAction>(entry.id);
                QVERIFY2(a != nullptr, qPrintable(name));
                QVERIFY(f.Find<QMenu>(*entry.parent)->actions().contains(a));
                QCOMPARE(a->isSeparator(), entry.caption == "-");
            } else if (!form::OpensDropDown(entry.id)) {
                // Acts at once from the bar.
                QAction* a = bar->findChild<QAction*>(name);
                QVERIFY2(a != nullptr && a->menu() == nullptr, qPrintable(name));
                QCOMPARE(a->text(), Q(entry.caption));
            }
        }
        for (QAction* a : f.window().findChildren<QAction*>()) {
            if (a->objectName() == "cancelShortcut") continue;
            QVERIFY2(a->shortcut().isEmpty(), qPrintable(a->objectName()));
            QVERIFY(!a->isCheckable());
            QVERIFY(a->icon().isNull());
        }
    }

    void passwordBoxTakesTenCharactersAndMasksThem() {
        WindowFixture f;
        auto* pass = f.Find<QLineEdit>(form::Id::edtEnpass);
        QTest::keyClicks(pass, "abcdefghijkl");
        QCOMPARE(pass->text(), QString("abcdefghij"));
        QCOMPARE(pass->displayText(), QString(10, u'#'));
        QCOMPARE(pass->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, pass),
                 int('#'));

        pass->clear();
        QGuiApplication::clipboard()->setText("0123456789ABCDEF");
        pass->paste();
        QCOMPARE(pass->text(), QString("0123456789"));
        QCOMPARE(pass->displayText(), QString(10, u'#'));
        // Other controls keep the platform style.
        QVERIFY(f.Find<QLineEdit>(form::Id::edtdir)->style() != pass->style());
    }

    void folderBoxRefusesTyping() {
        WindowFixture f;
        auto* dir = f.Find<QLineEdit>(form::Id::edtdir);
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
        QSignalSpy cancel(f.Find<QPushButton>(form::Id::btncancel), &QPushButton::clicked);
        QTest::keyClick(w, Qt::Key_Escape);
        QCOMPARE(cancel.count(), 1);
    }

    void accessibleNamesFollowTheCaptions() {
        WindowFixture f(kDeadSiteHost, "en\r\n");
        auto name = [&](form::Id control) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(f.Find<QWidget>(control));
            return a ? a->text(QAccessible::Name).trimmed() : QString();
        };
        QCOMPARE(name(form::Id::edtEnpass), Q(EnglishTable().lbpassword).trimmed());
        QCOMPARE(name(form::Id::edtdir), Q(EnglishTable().lbopen).trimmed());
        QCOMPARE(name(form::Id::btnenc), Q(EnglishTable().btnenc));
        f.Find<QAction>(form::Id::mch)->trigger();
        QCOMPARE(name(form::Id::edtEnpass), Q(ChineseTable().lbpassword).trimmed());
        QCOMPARE(name(form::Id::btnenc), Q(ChineseTable().btnenc));
        // The progress label reads out its live text.
        f.window().SetProgressLabel("2/5");
        QCOMPARE(name(form::Id::lbprogress), QString("2/5"));
    }
};

IMGCRYPT_QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
