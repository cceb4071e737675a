// The application's main window: the controls and menu of the form, wired
// to the window logic, which reaches back through WindowPort.
#pragma once

#include <QMainWindow>
#include <QUrl>
#include <array>
#include <memory>

#include "batch/banner_stages.h"
#include "batch/dialogs.h"
#include "batch/form_layout.h"
#include "batch/main_window_logic.h"
#include "batch/window_port.h"
#include "ui/desktop_links.h"

class QDragMoveEvent;

namespace imgcrypt {

class TfrmMain : public QMainWindow, public WindowPort {
    Q_OBJECT

  public:
    // Builds the form and runs FormCreate (settings, language, banner).
    // Errors of start-up are shown in the error box; nothing throws out.
    // Without `dialogs`, the boxes are Qt's (QtDialogs).
    explicit TfrmMain(AppLocations locations, std::unique_ptr<Dialogs> dialogs = nullptr,
                      QWidget* parent = nullptr);
    ~TfrmMain() override;

    DesktopLinks& links() noexcept { return links_; }
    // Files named on the program's command line, selected as a drop of them
    // is; handed over once, before the window shows.
    void CommandLineFiles(const std::vector<std::string>& paths) { logic_.CommandLineFiles(paths); }

    // WindowPort
    std::string PasswordText() const override;
    int SuffixMode() const override;
    int EncryptionClassIndex() const override;
    std::string FolderBoxText() const override;
    void SetFolderBoxText(const std::string& text) override;
    void ProcessPendingEvents() override;
    void SetOuterHeight(int height) override;
    void SetProgressRange(int minimum, int maximum) override;
    void SetProgressPosition(int position) override;
    void SetProgressLabel(const std::string& text) override;
    void SetDecryptEnabled(bool enabled) override;
    void SetRunCommandsEnabled(bool enabled) override;
    void OpenLocalPath(const std::string& path) override;
    void OpenUrl(const std::string& url) override;
    void SetTexts(const FormTexts& texts) override;
    void NavigateBanner(const std::string& url, const std::string& fallbackPath) override;
    void Close() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildControls();
    QWidget* MakeControl(QWidget* client, const form::Control& control);
    void BuildMenu();
    void SetTabOrder();
    void ConnectHandlers();
    void WebBrowser1DocumentComplete(bool ok);
    void FitCaptions();
    // Takes a drag of files the selection would take, refuses any other.
    void AnswerDrag(QDragMoveEvent* event);
    // The control, radio item or menu entry of the form (a QMenu for an
    // entry that opens a drop-down); null when it is not a T.
    template <typename T>
    T* Item(form::Id id) const {
        return qobject_cast<T*>(items_[static_cast<std::size_t>(form::IndexOf(id))]);
    }
    // Index of the checked item of a radio group.
    int CheckedItem(form::Id group) const;

    std::unique_ptr<Dialogs> dialogs_;
    DesktopLinks links_;
    bool centred_ = false;
    BannerStage bannerStage_ = BannerStage::Page;
    QUrl bannerFallback_;
    // Every control, radio item and menu entry by its form id (owned by
    // their Qt parents).
    std::array<QObject*, form::kIdCount> items_{};

    // Last member: its handlers reach the controls above through the port.
    MainWindowLogic logic_;
};

}  // namespace imgcrypt
