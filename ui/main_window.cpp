#include "ui/main_window.h"

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
#include <QScreen>
#include <QTimer>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QWindow>

#include "codec/password.h"
#include "ui/password_mask_style.h"
#include "ui/window_geometry.h"

namespace imgcrypt {

namespace {

constexpr int kFormFontPixels = 11;
constexpr int kMinFontPixels = 9;
// Room the caption does not get: radio indicator, button frame.
constexpr int kRadioExtra = 24;
constexpr int kButtonExtra = 8;

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Path(const QString& path) {
    return QFile::encodeName(path).toStdString();
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

// Places a control where the form puts it, with its caption at creation.
template <typename W>
W* Place(W* widget, const form::Control& control) {
    widget->setObjectName(Text(control.name));
    widget->setGeometry(geometry::ClientRect(control.rect));
    if constexpr (requires { widget->setText(QString()); }) widget->setText(Text(control.caption));
    return widget;
}

// The radio groups of the form: two items side by side, item 0 checked.
QGroupBox* MakeRadioGroup(QWidget* parent, const form::RadioGroup& spec,
                          std::array<QRadioButton*, 2>& items) {
    auto* group = Place(new QGroupBox(parent), spec);
    group->setTitle(Text(spec.caption));
    const int columnWidth = (spec.rect.width - 16) / 2;
    for (int i = 0; i < 2; ++i) {
        items[i] = new QRadioButton(Text(spec.items[i]), group);
        items[i]->setObjectName(QStringLiteral("%1Item%2").arg(Text(spec.name)).arg(i));
        items[i]->setGeometry(8 + i * columnWidth, 18, columnWidth, 19);
    }
    items[0]->setChecked(true);
    return group;
}

// The form's font: a narrow sans serif 11 pixels high, close to the classic
// one the fixed control sizes were made for; the desktop's sans serif when
// none of these is installed.
QFont FormFont(QFont font) {
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Helvetica"), font.family()});
    font.setPixelSize(kFormFontPixels);
    return font;
}

// Controls keep their fixed sizes; a caption wider than its control gets a
// smaller font (down to a readable minimum) instead of being cut off.
void FitCaption(QWidget* control, const QString& text, int extra) {
    QFont font = control->parentWidget()->font();
    int pixels = kFormFontPixels;
    while (pixels > kMinFontPixels &&
           QFontMetrics(font).horizontalAdvance(text) + extra > control->width()) {
        font.setPixelSize(--pixels);
    }
    if (pixels == kFormFontPixels) {
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
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<Dialogs>()),
      applicationTitle_(Text(kProvisionalApplicationTitle)),
      logic_(*this, std::move(locations)) {
    setObjectName(QStringLiteral("frmMain"));
    dialogs_->SetParentWidget(this);
    // System menu, Minimise and Close; no Maximise. The frame stays resizable.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/icons/imgcrypt.png")));
    setWindowTitle(Text(kFormCaption));

    BuildControls();
    BuildMenu();
    SetTabOrder();
    ConnectHandlers();
    setAcceptDrops(true);
    resize(geometry::kClientWidth, menuBar()->sizeHint().height() +
                                       geometry::ClientHeightForOuter(form::kCreationOuterHeight));

    logic_.FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFont(FormFont(client->font()));
    setCentralWidget(client);

    WebBrowser1 = Place(new QWebEngineView(client), form::WebBrowser1);
    // A page that cannot be loaded leaves the banner blank, not an error page.
    WebBrowser1->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    WebBrowser1->setContextMenuPolicy(Qt::NoContextMenu);

    rgsuffix = MakeRadioGroup(client, form::rgsuffix, rgsuffixItems);
    gbencClass = MakeRadioGroup(client, form::gbencClass, gbencClassItems);

    lbopen = Place(new QLabel(client), form::lbopen);
    edtdir = Place(new QLineEdit(client), form::edtdir);
    edtdir->setReadOnly(true);
    lbopen->setBuddy(edtdir);  // gives the box its accessible name
    btnopen = Place(new QPushButton(client), form::btnopen);

    lbpassword = Place(new QLabel(client), form::lbpassword);
    edtEnpass = Place(new QLineEdit(client), form::edtEnpass);
    edtEnpass->setMaxLength(static_cast<int>(kMaxPasswordLength));
    auto* mask = new PasswordMaskStyle();
    mask->setParent(edtEnpass);
    edtEnpass->setStyle(mask);
    edtEnpass->setEchoMode(QLineEdit::Password);
    lbpassword->setBuddy(edtEnpass);
    lbpassnote = Place(new QLabel(client), form::lbpassnote);
    btnenc = Place(new QPushButton(client), form::btnenc);
    btndec = Place(new QPushButton(client), form::btndec);

    ProgressBar1 = Place(new QProgressBar(client), form::ProgressBar1);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    lbprogress = Place(new QLabel(client), form::lbprogress);
    lbprogress->setAlignment(Qt::AlignCenter);
    btncancel = Place(new QPushButton(client), form::btncancel);

    // The window's cancel button: Esc presses it wherever the focus is.
    auto* escape = new QAction(this);
    escape->setObjectName(QStringLiteral("cancelShortcut"));
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    escape->setShortcutContext(Qt::WindowShortcut);
    connect(escape, &QAction::triggered, btncancel, &QPushButton::click);
    addAction(escape);
}

void TfrmMain::BuildMenu() {
    QMenuBar* bar = menuBar();
    auto menu = [bar](const char* name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    auto item = [](QMenu* parent, const char* name, const QString& caption) {
        QAction* a = parent->addAction(caption);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    N1 = menu("N1", Text(form::menu::N1));
    N2 = item(N1, "N2", Text(form::menu::N2));
    N4 = N1->addSeparator();
    N4->setObjectName(QStringLiteral("N4"));
    N5 = item(N1, "N5", Text(form::menu::N5));
    N6 = menu("N6", Text(form::menu::N6));
    N7 = item(N6, "N7", Text(form::menu::N7));
    N8 = item(N6, "N8", Text(form::menu::N8));
    N11 = menu("N11", Text(form::menu::N11));
    nabout = item(N11, "nabout", Text(form::menu::nabout));
    mdonate = menu("mdonate", Text(form::menu::mdonate));
    ndonate = item(mdonate, "ndonate", Text(form::menu::ndonate));
    // The two language commands act at once from the bar; no drop-down.
    mch = bar->addAction(Text(form::menu::mch));
    mch->setObjectName(QStringLiteral("mch"));
    men = bar->addAction(Text(form::menu::men));
    men->setObjectName(QStringLiteral("men"));
}

void TfrmMain::SetTabOrder() {
    // The banner's page takes the focus through the view's focus proxy. The
    // progress bar keeps its place in the order without becoming a tab stop;
    // setTabOrder skips widgets that take no focus, hence the temporary policy.
    QWidget* banner = WebBrowser1->focusProxy() ? WebBrowser1->focusProxy() : WebBrowser1;
    const Qt::FocusPolicy barPolicy = ProgressBar1->focusPolicy();
    ProgressBar1->setFocusPolicy(Qt::TabFocus);
    const QList<QWidget*> order = {btnopen,
                                   edtEnpass,
                                   btnenc,
                                   btndec,
                                   edtdir,
                                   banner,
                                   rgsuffixItems[0],
                                   rgsuffixItems[1],
                                   gbencClassItems[0],
                                   gbencClassItems[1],
                                   ProgressBar1,
                                   btncancel};
    for (qsizetype i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
    ProgressBar1->setFocusPolicy(barPolicy);
}

void TfrmMain::ConnectHandlers() {
    connect(btnopen, &QPushButton::clicked, this, [this] { logic_.btnopenClick(); });
    connect(btnenc, &QPushButton::clicked, this, [this] { logic_.btnencClick(); });
    connect(btndec, &QPushButton::clicked, this, [this] { logic_.btndecClick(); });
    connect(btncancel, &QPushButton::clicked, this, [this] { logic_.btncancelClick(); });
    connect(edtEnpass, &QLineEdit::textChanged, this, [this] { logic_.edtEnpassChange(); });
    connect(N2, &QAction::triggered, this, [this] { logic_.N2Click(); });
    connect(N5, &QAction::triggered, this, &QWidget::close);
    connect(N7, &QAction::triggered, this, [this] { logic_.N7Click(); });
    connect(N8, &QAction::triggered, this, [this] { logic_.N8Click(); });
    connect(nabout, &QAction::triggered, this, [this] { logic_.naboutClick(); });
    connect(ndonate, &QAction::triggered, this, [this] { logic_.ndonateClick(); });
    connect(mch, &QAction::triggered, this, [this] { logic_.mchClick(); });
    connect(men, &QAction::triggered, this, [this] { logic_.menClick(); });
    connect(WebBrowser1, &QWebEngineView::loadFinished, this,
            &TfrmMain::WebBrowser1DocumentComplete);
}

void TfrmMain::WebBrowser1DocumentComplete(bool ok) {
    // Each stage is tried once, so a failing local or blank page never loops.
    if (!ok && bannerStage_ == BannerStage::Remote && !bannerFallback_.isEmpty()) {
        bannerStage_ = BannerStage::Local;
        WebBrowser1->setUrl(bannerFallback_);
        return;
    }
    if (!ok && bannerStage_ != BannerStage::Blank) {
        bannerStage_ = BannerStage::Blank;
        WebBrowser1->setHtml(QString());
        return;
    }
    WebBrowser1->page()->runJavaScript(kBannerAdjustment);
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
    if (logic_.running()) {
        // Closing in the middle of a run stops it after the current file;
        // the window closes once the run has ended.
        closeAfterRun_ = true;
        logic_.btncancelClick();
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

std::string TfrmMain::PasswordText() const {
    return edtEnpass->text().toStdString();
}

int TfrmMain::SuffixMode() const {
    return rgsuffixItems[1]->isChecked() ? 1 : 0;
}

int TfrmMain::EncryptionClassIndex() const {
    return gbencClassItems[1]->isChecked() ? 1 : 0;
}

std::string TfrmMain::FolderBoxText() const {
    return Path(edtdir->text());
}

void TfrmMain::SetFolderBoxText(const std::string& text) {
    edtdir->setText(QFile::decodeName(text.c_str()));
}

void TfrmMain::ShowMessage(const std::string& text) {
    dialogs_->Message(applicationTitle_, Text(text));
}

bool TfrmMain::Confirm(const std::string& text) {
    return dialogs_->Confirm(Text(text));
}

void TfrmMain::ShowError(const std::string& text) {
    dialogs_->Error(applicationTitle_, Text(text));
}

std::vector<std::string> TfrmMain::ShowOpenDialog(const OpenDialogRequest& request) {
    std::vector<std::string> paths;
    for (const QString& path : dialogs_->OpenFiles(request)) paths.push_back(Path(path));
    return paths;
}

void TfrmMain::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void TfrmMain::SetOuterHeight(int height) {
    outerHeight_ = height;
    resize(width(), menuBar()->sizeHint().height() + geometry::ClientHeightForOuter(height));
}

void TfrmMain::SetProgressRange(int minimum, int maximum) {
    // Qt shows an equal minimum and maximum as a busy animation; the bar
    // should simply stay empty then.
    ProgressBar1->setRange(minimum, maximum > minimum ? maximum : minimum + 1);
}

void TfrmMain::SetProgressPosition(int position) {
    ProgressBar1->setValue(position);
}

void TfrmMain::SetProgressLabel(const std::string& text) {
    lbprogress->setText(Text(text));
}

void TfrmMain::SetDecryptEnabled(bool enabled) {
    btndec->setEnabled(enabled);
}

void TfrmMain::SetRunCommandsEnabled(bool enabled) {
    for (QWidget* w : {static_cast<QWidget*>(btnopen), static_cast<QWidget*>(btnenc)}) {
        w->setEnabled(enabled);
    }
    for (QAction* a : {N2, mch, men}) a->setEnabled(enabled);
    if (enabled && closeAfterRun_) {
        closeAfterRun_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TfrmMain::OpenLocalPath(const std::string& path) {
    links_.Open(UrlForLocalPath(path));
}

void TfrmMain::OpenUrl(const std::string& url) {
    links_.Open(UrlForAddress(url));
}

void TfrmMain::ApplyLanguage(const LanguageTable& table, const std::string& aboutItem) {
    N1->setTitle(Text(table.N1));
    N2->setText(Text(table.N2));
    N5->setText(Text(table.N5));
    N6->setTitle(Text(table.N6));
    N7->setText(Text(table.N7));
    N8->setText(Text(table.N8));
    N11->setTitle(Text(table.N11));
    nabout->setText(Text(aboutItem));
    mdonate->setTitle(Text(table.mdonate));
    ndonate->setText(Text(table.ndonate));

    btnopen->setText(Text(table.btnopen));
    btnenc->setText(Text(table.btnenc));
    btndec->setText(Text(table.btndec));
    btncancel->setText(Text(table.btncancel));
    lbopen->setText(Text(table.lbopen));
    lbpassword->setText(Text(table.lbpassword));
    lbpassnote->setText(Text(table.lbpassnote));

    rgsuffix->setTitle(Text(table.rgsuffixCaption));
    gbencClass->setTitle(Text(table.gbencClassCaption));
    for (int i = 0; i < 2; ++i) {
        rgsuffixItems[i]->setText(Text(table.rgsuffixItems[i]));
        gbencClassItems[i]->setText(Text(table.gbencClassItems[i]));
    }

    setWindowTitle(Text(table.windowCaption));
    applicationTitle_ = Text(table.applicationTitle);
    FitCaptions();
}

void TfrmMain::FitCaptions() {
    for (QLabel* label : {lbopen, lbpassword, lbpassnote}) FitCaption(label, label->text(), 0);
    for (QPushButton* button : {btnopen, btnenc, btndec, btncancel}) {
        FitCaption(button, button->text(), kButtonExtra);
    }
    for (QRadioButton* item :
         {rgsuffixItems[0], rgsuffixItems[1], gbencClassItems[0], gbencClassItems[1]}) {
        FitCaption(item, item->text(), kRadioExtra);
    }
}

void TfrmMain::NavigateBanner(const std::string& url, const std::string& fallbackPath) {
    bannerStage_ = BannerStage::Remote;
    bannerFallback_ = UrlForLocalPath(fallbackPath);
    WebBrowser1->setUrl(UrlForAddress(url));
}

}  // namespace imgcrypt
