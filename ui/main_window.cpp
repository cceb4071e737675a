#include "ui/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QScreen>
#include <QTimer>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QWindow>

#include "codec/password.h"
#include "ui/dialogs.h"
#include "ui/password_mask_style.h"
#include "ui/qt_text.h"

namespace imgcrypt {

namespace {

// Room the caption does not get: radio indicator, button frame.
constexpr int kRadioExtra = 24;
constexpr int kButtonExtra = 8;

// The form's rectangles are client pixels already (or, for radio items, the
// group's own pixels, which is where Qt places a group's children).
QRect QtRect(const form::Rect& r) {
    return {r.left, r.top, r.width, r.height};
}

// Removes the banner's scroll bars and border. `scroll` is what the classic
// engine honoured; today's engines need the root element's overflow hidden.
// A document without a body (not HTML) is left alone.
const QString kBannerAdjustment = QStringLiteral(
    "(function () {"
    "  var root = document.documentElement;"
    "  if (root && root.style) root.style.overflow = 'hidden';"
    "  var body = document.body;"
    "  if (!body) return false;"
    "  body.scroll = 'no';"
    "  if (body.style) body.style.border = 'none';"
    "  return true;"
    "})();");

// Puts a caption on whatever carries it: a button or radio item, a label,
// a group's frame, a drop-down's title, a menu command.
void SetCaption(QObject* item, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(item)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(item)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(item)) {
        group->setTitle(text);
    } else if (auto* menu = qobject_cast<QMenu*>(item)) {
        menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(item)) {
        action->setText(text);
    }
}

// The form's font: a narrow sans serif of the form's height, close to the
// classic one the fixed control sizes were made for; the desktop's sans
// serif when none of these is installed.
QFont FormFont(QFont font) {
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Helvetica"), font.family()});
    font.setPixelSize(form::kFontPixels);
    return font;
}

// Controls keep their fixed sizes; a caption wider than its control gets a
// smaller font (down to a readable minimum) instead of being cut off.
void FitCaption(QWidget* control, const QString& text, int extra) {
    QFont font = control->parentWidget()->font();
    int pixels = form::kFontPixels;
    while (pixels > form::kMinFontPixels &&
           QFontMetrics(font).horizontalAdvance(text) + extra > control->width()) {
        font.setPixelSize(--pixels);
    }
    if (pixels == form::kFontPixels) {
        control->setFont(QFont());
        control->setAttribute(Qt::WA_SetFont, false);  // follow the form's font again
    } else {
        control->setFont(font);
    }
}

// The local files a drag carries, as byte paths in the order dragged; web
// addresses are left out.
std::vector<std::string> DraggedPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths.push_back(Path(url.toLocalFile()));
    }
    return paths;
}

// Never a move: the file manager must leave the user's files where they are.
void AcceptAsCopy(QDropEvent* event) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

}  // namespace

TfrmMain::TfrmMain(AppLocations locations, std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>(this)),
      logic_(*this, *dialogs_, std::move(locations)) {
    setObjectName(QStringLiteral("frmMain"));
    // System menu, Minimise and Close; no Maximise. The frame stays resizable.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/icons/imgcrypt.png")));
    setWindowTitle(Text(kFormCaption));

    BuildControls();
    BuildMenu();
    ConnectHandlers();
    setAcceptDrops(true);
    resize(form::kClientWidth,
           menuBar()->sizeHint().height() + form::ClientHeightForOuter(form::kCreationOuterHeight));

    logic_.FormCreate();
    // The banner's page made its inner widget, which takes its focus.
    SetTabOrder();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFont(FormFont(client->font()));
    setCentralWidget(client);

    for (const form::Control& control : form::kControls) {
        QWidget* widget = MakeControl(client, control);
        widget->setObjectName(Text(control.name));
        widget->setGeometry(QtRect(control.rect));
        items_[static_cast<std::size_t>(form::IndexOf(control.id))] = widget;
    }
    for (const form::Control& control : form::kControls) {
        // Gives the box its accessible name.
        if (control.names) Item<QLabel>(control.id)->setBuddy(Item<QWidget>(*control.names));
    }

    // The window's cancel button: Esc presses it wherever the focus is.
    auto* escape = new QAction(this);
    escape->setObjectName(QStringLiteral("cancelShortcut"));
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    escape->setShortcutContext(Qt::WindowShortcut);
    connect(escape, &QAction::triggered, Item<QPushButton>(form::Id::btncancel),
            &QPushButton::click);
    addAction(escape);
}

QWidget* TfrmMain::MakeControl(QWidget* client, const form::Control& control) {
    const QString caption = Text(control.caption);
    switch (control.kind) {
        case form::Kind::Banner: {
            auto* view = new QWebEngineView(client);
            // A page that cannot be loaded leaves the banner blank, not an error page.
            view->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
            view->setContextMenuPolicy(Qt::NoContextMenu);
            return view;
        }
        case form::Kind::RadioGroup: {
            auto* group = new QGroupBox(caption, client);
            for (std::size_t i = 0; i < control.items.size(); ++i) {
                const form::RadioItem& spec = control.items[i];
                auto* item = new QRadioButton(Text(spec.caption), group);
                item->setObjectName(Text(spec.name));
                item->setGeometry(QtRect(form::RadioItemRectInGroup(control, static_cast<int>(i))));
                item->setChecked(i == 0);
                items_[static_cast<std::size_t>(form::IndexOf(spec.id))] = item;
            }
            return group;
        }
        case form::Kind::Label:
        case form::Kind::CentredLabel: {
            auto* label = new QLabel(caption, client);
            if (control.kind == form::Kind::CentredLabel) label->setAlignment(Qt::AlignCenter);
            return label;
        }
        case form::Kind::ReadOnlyEdit: {
            auto* box = new QLineEdit(caption, client);
            box->setReadOnly(true);
            return box;
        }
        case form::Kind::PasswordEdit: {
            auto* box = new QLineEdit(caption, client);
            box->setMaxLength(static_cast<int>(kMaxPasswordLength));
            auto* mask = new PasswordMaskStyle();
            mask->setParent(box);
            box->setStyle(mask);
            box->setEchoMode(QLineEdit::Password);
            return box;
        }
        case form::Kind::Button:
            return new QPushButton(caption, client);
        case form::Kind::ProgressBar: {
            auto* bar = new QProgressBar(client);
            bar->setRange(0, 100);
            bar->setValue(0);
            bar->setTextVisible(false);
            return bar;
        }
    }
    return new QWidget(client);
}

void TfrmMain::BuildMenu() {
    QMenuBar* bar = menuBar();
    for (const form::MenuEntry& entry : form::kMenu) {
        const QString name = Text(entry.name);
        const QString caption = Text(entry.caption);
        QObject* item = nullptr;
        if (entry.parent) {
            QMenu* parent = Item<QMenu>(*entry.parent);
            QAction* action =
                entry.caption == "-" ? parent->addSeparator() : parent->addAction(caption);
            action->setObjectName(name);
            item = action;
        } else if (form::OpensDropDown(entry.id)) {
            QMenu* menu = bar->addMenu(caption);
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            item = menu;
        } else {
            QAction* action = bar->addAction(caption);  // acts at once from the bar
            action->setObjectName(name);
            item = action;
        }
        items_[static_cast<std::size_t>(form::IndexOf(entry.id))] = item;
    }
}

void TfrmMain::SetTabOrder() {
    // The banner's page takes the focus through the view's focus proxy; a
    // radio group through its items. The progress bar keeps its place in the
    // order without becoming a tab stop; setTabOrder skips widgets that take
    // no focus, hence the temporary policy.
    QList<QWidget*> order;
    for (const form::Control& control : form::kControls) {
        auto* widget = Item<QWidget>(control.id);
        switch (control.kind) {
            case form::Kind::Label:
            case form::Kind::CentredLabel:
                break;
            case form::Kind::RadioGroup:
                for (const form::RadioItem& item : control.items) {
                    order << Item<QWidget>(item.id);
                }
                break;
            case form::Kind::Banner:
                order << (widget->focusProxy() ? widget->focusProxy() : widget);
                break;
            default:
                order << widget;
                break;
        }
    }
    auto* bar = Item<QProgressBar>(form::Id::ProgressBar1);
    const Qt::FocusPolicy barPolicy = bar->focusPolicy();
    bar->setFocusPolicy(Qt::TabFocus);
    for (qsizetype i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
    bar->setFocusPolicy(barPolicy);
}

void TfrmMain::ConnectHandlers() {
    for (const form::Control& control : form::kControls) {
        if (control.kind != form::Kind::Button) continue;
        connect(Item<QPushButton>(control.id), &QPushButton::clicked, this,
                [this, id = control.id] { logic_.Command(id); });
    }
    for (const form::MenuEntry& entry : form::kMenu) {
        if (auto* action = Item<QAction>(entry.id)) {
            connect(action, &QAction::triggered, this,
                    [this, id = entry.id] { logic_.Command(id); });
        }
    }
    connect(Item<QLineEdit>(form::Id::edtEnpass), &QLineEdit::textChanged, this,
            [this] { logic_.edtEnpassChange(); });
    connect(Item<QWebEngineView>(form::Id::WebBrowser1), &QWebEngineView::loadFinished, this,
            &TfrmMain::WebBrowser1DocumentComplete);
}

void TfrmMain::WebBrowser1DocumentComplete(bool ok) {
    auto* banner = Item<QWebEngineView>(form::Id::WebBrowser1);
    if (!ok) {
        const std::optional<BannerStage> next =
            StageAfterFailure(bannerStage_, !bannerFallback_.isEmpty());
        if (next) {
            bannerStage_ = *next;
            if (*next == BannerStage::Fallback) {
                banner->setUrl(bannerFallback_);
            } else {
                banner->setHtml(QString());
            }
            return;
        }
    }
    banner->page()->runJavaScript(kBannerAdjustment);
}

// Qt hands a drag to the innermost control under the pointer that takes
// drops: the password box would paste the path, the banner would show the
// file, and the web engine makes (and remakes) the banner's inner widget as it
// likes. So the window takes every drag at its native window, before Qt looks
// for a control.
bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched != windowHandle()) return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            AnswerDrag(static_cast<QDragMoveEvent*>(event));
            return true;
        case QEvent::DragLeave:
            return true;
        case QEvent::Drop:
            dropEvent(static_cast<QDropEvent*>(event));
            return true;
        default:
            return QMainWindow::eventFilter(watched, event);
    }
}

void TfrmMain::AnswerDrag(QDragMoveEvent* event) {
    if (logic_.FormDragOver(DraggedPaths(event->mimeData()))) {
        AcceptAsCopy(event);
    } else {
        event->ignore();
    }
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
    AnswerDrag(event);
}

void TfrmMain::dropEvent(QDropEvent* event) {
    if (logic_.FormDragDrop(DraggedPaths(event->mimeData()))) {
        AcceptAsCopy(event);
    } else {
        event->ignore();
    }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!logic_.FormCloseQuery()) {
        event->ignore();
        return;
    }
    logic_.FormClose();
    event->accept();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The native window exists from the first show on; it may be made anew.
    if (QWindow* native = windowHandle()) native->installEventFilter(this);
    if (centred_) return;
    centred_ = true;
    if (const QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

// ---- WindowPort ----

int TfrmMain::CheckedItem(form::Id group) const {
    const std::span<const form::RadioItem> items = form::ControlOf(group).items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (Item<QRadioButton>(items[i].id)->isChecked()) return static_cast<int>(i);
    }
    return 0;
}

std::string TfrmMain::PasswordText() const {
    return SecretUtf8(Item<QLineEdit>(form::Id::edtEnpass)->text());
}

int TfrmMain::SuffixMode() const {
    return CheckedItem(form::Id::rgsuffix);
}

int TfrmMain::EncryptionClassIndex() const {
    return CheckedItem(form::Id::gbencClass);
}

std::string TfrmMain::FolderBoxText() const {
    return Path(Item<QLineEdit>(form::Id::edtdir)->text());
}

void TfrmMain::SetFolderBoxText(const std::string& text) {
    Item<QLineEdit>(form::Id::edtdir)->setText(QFile::decodeName(text.c_str()));
}

void TfrmMain::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void TfrmMain::SetOuterHeight(int height) {
    resize(width(), menuBar()->sizeHint().height() + form::ClientHeightForOuter(height));
}

void TfrmMain::SetProgressRange(int minimum, int maximum) {
    // Qt shows an equal minimum and maximum as a busy animation; the bar
    // should simply stay empty then.
    Item<QProgressBar>(form::Id::ProgressBar1)
        ->setRange(minimum, maximum > minimum ? maximum : minimum + 1);
}

void TfrmMain::SetProgressPosition(int position) {
    Item<QProgressBar>(form::Id::ProgressBar1)->setValue(position);
}

void TfrmMain::SetProgressLabel(const std::string& text) {
    Item<QLabel>(form::Id::lbprogress)->setText(Text(text));
}

void TfrmMain::SetDecryptEnabled(bool enabled) {
    Item<QWidget>(form::Id::btndec)->setEnabled(enabled);
}

void TfrmMain::SetRunCommandsEnabled(bool enabled) {
    for (const form::Id id : form::kRunCommands) {
        if (auto* widget = Item<QWidget>(id)) widget->setEnabled(enabled);
        if (auto* action = Item<QAction>(id)) action->setEnabled(enabled);
    }
}

void TfrmMain::OpenLocalPath(const std::string& path) {
    links_.Open(UrlForLocalPath(path));
}

void TfrmMain::OpenUrl(const std::string& url) {
    links_.Open(UrlForAddress(url));
}

void TfrmMain::SetTexts(const FormTexts& texts) {
    for (const Caption& caption : texts.captions) {
        SetCaption(items_[static_cast<std::size_t>(form::IndexOf(caption.id))], Text(caption.text));
    }
    setWindowTitle(Text(texts.windowCaption));
    FitCaptions();
}

void TfrmMain::FitCaptions() {
    for (const form::Control& control : form::kControls) {
        switch (control.kind) {
            case form::Kind::Label:
            case form::Kind::CentredLabel: {
                auto* label = Item<QLabel>(control.id);
                FitCaption(label, label->text(), 0);
                break;
            }
            case form::Kind::Button: {
                auto* button = Item<QPushButton>(control.id);
                FitCaption(button, button->text(), kButtonExtra);
                break;
            }
            case form::Kind::RadioGroup:
                for (const form::RadioItem& spec : control.items) {
                    auto* item = Item<QRadioButton>(spec.id);
                    FitCaption(item, item->text(), kRadioExtra);
                }
                break;
            default:
                break;
        }
    }
}

void TfrmMain::NavigateBanner(const std::string& url, const std::string& fallbackPath) {
    bannerStage_ = BannerStage::Page;
    bannerFallback_ = UrlForLocalPath(fallbackPath);
    Item<QWebEngineView>(form::Id::WebBrowser1)->setUrl(UrlForAddress(url));
}

void TfrmMain::Close() {
    // After the handler that asks has returned: a run may still be on the stack.
    QTimer::singleShot(0, this, &QWidget::close);
}

}  // namespace imgcrypt
