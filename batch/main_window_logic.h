// The main window's state and handlers, without a toolkit. The window owns
// one instance, forwards its events to the handlers and implements
// WindowPort.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/app_locations.h"
#include "batch/dialogs.h"
#include "batch/language_tables.h"
#include "batch/window_port.h"
#include "codec/sealed_keys.h"
#include "codec/sealed_writer.h"
#include "codec/secret_bytes.h"

namespace imgcrypt {

class MainWindowLogic {
  public:
    // Boxes and the open dialog go through `dialogs`, everything else the
    // window does through `port`.
    MainWindowLogic(WindowPort& port, Dialogs& dialogs, AppLocations locations);

    // A click on a button or a command of the menu, by the form's id: runs
    // the handler of the same name (btnopen: btnopenClick, N5: N5Click, ...);
    // ids without one (radio items, the separator) do nothing.
    void Command(form::Id id);

    // Handlers, named after the controls and events that call them.
    void FormCreate();
    // Whether the window may close now. During a run it may not: the run
    // stops after its current file and the window then closes (Close).
    bool FormCloseQuery();
    void FormClose();
    void btnopenClick();
    void N2Click();
    // File > Exit: the window closes as by its close button.
    void N5Click();
    // Files dragged over and dropped on the window: whether the window takes
    // them (refused during a run and when DroppedSelection finds none), and
    // taking them, which selects them as the open dialog's answer would.
    bool FormDragOver(const std::vector<std::string>& paths) const;
    // Whether the drop was taken (a selection of files, not during a run).
    bool FormDragDrop(const std::vector<std::string>& paths);
    // Files named on the window's command line (a file manager's "Open with"
    // or "Send to"), handed over once the window is created: selected as a
    // drop of them is, refused as it is. Nothing runs by itself.
    void CommandLineFiles(const std::vector<std::string>& paths);
    void btnencClick();
    void btndecClick();
    void btncancelClick();
    void edtEnpassChange();
    void menClick();
    void mchClick();
    void N7Click();
    void N8Click();
    void naboutClick();
    void ndonateClick();
    // Applies a language: captions, message slots, dialog filter, titles; rewrites
    // the settings file. Raises EInOutError when that file cannot be written.
    void interfacelanguage(bool english);

    // Whether a run goes on.
    bool running() const noexcept { return running_; }

  private:
    // A plain box and the default error handler's box, captioned with the
    // application title; the confirmation box.
    void ShowMessage(const std::string& text);
    bool Confirm(const std::string& text);
    void ShowError(const std::string& text);
    // Runs a handler body; an error ends it and reaches the error box.
    // True when the body ran to its end.
    bool Guarded(const std::function<void()>& body);
    // Guarded, for the commands that do nothing while a run goes on.
    void GuardedWhenIdle(const std::function<void()>& body);
    // The start both runs share: cancel flag, progress bar, and with nothing
    // selected the message and the file dialog; true when there are files.
    bool ReadyToRun(std::string_view noImageMessage);
    bool CheckPassword();
    void OpenSelection();
    // Puts `paths` (not empty) in place as the selection: list, folder box,
    // and the dialog's default name for its next call.
    void ApplySelection(std::vector<std::string> paths);
    int SelectionCount() const noexcept { return static_cast<int>(selectionList_.size()); }
    void BeginRun();
    // Back at rest with every command live; the progress row keeps its values.
    void EndRun();
    // Back at rest after an error or a refusal: the bar empty.
    void EndBrokenOffRun();
    // Says the run was cancelled and ends it; files already written stay.
    void EndCancelledRun();
    // Progress, pending input and the Cancel poll after each file of a run;
    // true when the run was cancelled and has ended.
    bool StepAfterFile(int done, int count);
    // "Illegal password": counted, and the tenth since the last complete
    // decryption locks Decrypt. A run going on ends first.
    void WrongPassword();
    // The password box's text, held where it is wiped after use.
    SecretBytes TypedPassword() const;
    // A key derivation of a sealed run, `derive`, with the window live
    // meanwhile and the progress row showing `done` of `count` files; true
    // when the user cancelled meanwhile (the run has then ended).
    bool CancelledWhileDeriving(const std::function<void()>& derive, int done, int count);
    // The progress hook of one sealed file: lets the window handle its input
    // now and then, and stops the file when Cancel was pressed.
    SealedProgressFn LiveWithinFile();
    // The run's key for `password`, derived when there is none yet or the
    // password changed since; null when the user cancelled meanwhile.
    const SealingKey* RunSealingKey(std::optional<SealingKey>& key, SecretBytes& keyPassword,
                                    const SecretBytes& password, int done, int count);
    // Opens one sealed file with the run's keys, deriving a key first when
    // its salt is new; false when the user cancelled (the run has ended).
    bool OpenSealed(const std::string& path, OpeningKeys& keys, bool suffixFlag, int done,
                    int count);
    // Whether the settings file asks for English; false when there is none.
    // Raises EInOutError when it cannot be read.
    bool SettingsSayEnglish() const;
    void RunEncryption();
    void RunDecryption();
    void ApplyTexts(bool english);
    // The site's page `page` ("help.htm", ...) in the current language.
    std::string WebAddress(std::string_view page) const;
    // Ten wrong passwords lock Decrypt until the program starts again: only a
    // decryption run that goes through resets the count, and none can start.
    bool DecryptLocked() const noexcept { return wrongPasswordCount_ > 9; }

    WindowPort& port_;
    Dialogs& dialogs_;
    AppLocations locations_;
    // The caption of plain boxes; the provisional one until the first switch.
    std::string applicationTitle_{kProvisionalApplicationTitle};

    std::vector<std::string> selectionList_;
    bool languageEnglish_ = false;
    MessageSlots messages_{};
    bool cancelFlag_ = false;
    int wrongPasswordCount_ = 0;
    bool running_ = false;
    bool closeAfterRun_ = false;
    OpenDialogRequest dialog_;
};

}  // namespace imgcrypt
