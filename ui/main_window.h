// The application's main window: the controls and menu of the form, wired
// to the window logic, which reaches back through WindowPort.
#pragma once

#include <QMainWindow>
#include <QUrl>
#include <array>
#include <memory>

#include "batch/main_window_logic.h"
#include "batch/window_port.h"
#include "ui/desktop_links.h"
#include "ui/dialogs.h"

class QAction;
class QDragMoveEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWebEngineView;

namespace imgcrypt {

class TfrmMain : public QMainWindow, public WindowPort {
    Q_OBJECT

  public:
    // Builds the form and runs FormCreate (settings, language, banner).
    // Errors of start-up are shown in the error box; nothing throws out.
    explicit TfrmMain(AppLocations locations, std::unique_ptr<Dialogs> dialogs = nullptr,
                      QWidget* parent = nullptr);
    ~TfrmMain() override;

    Dialogs& dialogs() noexcept { return *dialogs_; }
    DesktopLinks& links() noexcept { return links_; }
    // Caption of message boxes: the application title of the current language.
    const QString& applicationTitle() const noexcept { return applicationTitle_; }
    // The outer height last asked for by the logic (kRestHeight or kRunHeight).
    int outerHeight() const noexcept { return outerHeight_; }

    // WindowPort
    std::string PasswordText() const override;
    int SuffixMode() const override;
    int EncryptionClassIndex() const override;
    std::string FolderBoxText() const override;
    void SetFolderBoxText(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ShowError(const std::string& text) override;
    std::vector<std::string> ShowOpenDialog(const OpenDialogRequest& request) override;
    void ProcessPendingEvents() override;
    void SetOuterHeight(int height) override;
    void SetProgressRange(int minimum, int maximum) override;
    void SetProgressPosition(int position) override;
    void SetProgressLabel(const std::string& text) override;
    void SetDecryptEnabled(bool enabled) override;
    void SetRunCommandsEnabled(bool enabled) override;
    void OpenLocalPath(const std::string& path) override;
    void OpenUrl(const std::string& url) override;
    void ApplyLanguage(const LanguageTable& table, const std::string& aboutItem) override;
    void NavigateBanner(const std::string& url, const std::string& fallbackPath) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildControls();
    void BuildMenu();
    void SetTabOrder();
    void ConnectHandlers();
    void WebBrowser1DocumentComplete(bool ok);
    void FitCaptions();
    // Takes a drag of files the selection would take, refuses any other.
    void AnswerDrag(QDragMoveEvent* event);

    std::unique_ptr<Dialogs> dialogs_;
    DesktopLinks links_;
    QString applicationTitle_;
    int outerHeight_ = 0;
    bool closeAfterRun_ = false;
    bool centred_ = false;
    // What the banner shows: the site's page, the local page after the site
    // failed, or nothing after the local page failed too.
    enum class BannerStage { Remote, Local, Blank };
    BannerStage bannerStage_ = BannerStage::Remote;
    QUrl bannerFallback_;

    // Controls (owned by their Qt parents).
    QWebEngineView* WebBrowser1 = nullptr;
    QGroupBox* rgsuffix = nullptr;
    std::array<QRadioButton*, 2> rgsuffixItems{};
    QGroupBox* gbencClass = nullptr;
    std::array<QRadioButton*, 2> gbencClassItems{};
    QLabel* lbopen = nullptr;
    QLineEdit* edtdir = nullptr;
    QPushButton* btnopen = nullptr;
    QLabel* lbpassword = nullptr;
    QLineEdit* edtEnpass = nullptr;
    QLabel* lbpassnote = nullptr;
    QPushButton* btnenc = nullptr;
    QPushButton* btndec = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* lbprogress = nullptr;
    QPushButton* btncancel = nullptr;
    QMenu* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N4 = nullptr;
    QAction* N5 = nullptr;
    QMenu* N6 = nullptr;
    QAction* N7 = nullptr;
    QAction* N8 = nullptr;
    QMenu* N11 = nullptr;
    QAction* nabout = nullptr;
    QMenu* mdonate = nullptr;
    QAction* ndonate = nullptr;
    QAction* mch = nullptr;
    QAction* men = nullptr;

    // Last member: its handlers reach the controls above through the port.
    MainWindowLogic logic_;
};

}  // namespace imgcrypt
