#include "batch/main_window_logic.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <utility>

#include "batch/dropped_files.h"
#include "batch/live_window.h"
#include "batch/run_rules.h"
#include "batch/sealed_messages.h"
#include "codec/file_operations.h"
#include "codec/password.h"
#include "codec/sealed_errors.h"
#include "codec/sealed_file_operations.h"
#include "runtime/app_folders.h"
#include "runtime/errors.h"
#include "runtime/line_text_file.h"
#include "runtime/paths.h"
#include "runtime/whole_file.h"

namespace imgcrypt {

namespace {

constexpr std::string_view kSettingsEnglish = "en";
constexpr std::string_view kSettingsChinese = "ch";

// Every page, local or on the site, has an English twin whose name carries
// an "e" before the Chinese page's name.
std::string PageOfLanguage(bool english, std::string_view page) {
    return (english ? "e" : "") + std::string(page);
}

constexpr std::string_view kSitePages = "/ien/";

// The codec's class for the checked item of gbencClass.
EncryptionClass ClassOfItem(int item) {
    switch (item) {
        case 1:
            return EncryptionClass::High;
        case 2:
            return EncryptionClass::Sealed;
        default:
            return EncryptionClass::Standard;
    }
}

std::string_view AsText(const SecretBytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

MainWindowLogic::MainWindowLogic(WindowPort& port, Dialogs& dialogs, AppLocations locations)
    : port_(port), dialogs_(dialogs), locations_(std::move(locations)) {}

// ---------------------------------------------------------------------------
// Boxes: the plain ones carry the application title of the language.

void MainWindowLogic::ShowMessage(const std::string& text) {
    dialogs_.Message(applicationTitle_, text);
}

bool MainWindowLogic::Confirm(const std::string& text) {
    return dialogs_.Confirm(text);
}

void MainWindowLogic::ShowError(const std::string& text) {
    dialogs_.Error(applicationTitle_, text);
}

// ---------------------------------------------------------------------------
// Error handling: the one place where an error reaches the user.

bool MainWindowLogic::Guarded(const std::function<void()>& body) {
    std::string text;
    try {
        body();
        return true;
    } catch (const ESealedError& e) {
        // A sealed file refused: the program's own words, in the interface's language.
        text = SealedErrorText(e, languageEnglish_);
    } catch (const std::exception& e) {
        text = DefaultHandlerText(e.what());
    } catch (...) {
        text = DefaultHandlerText("Unexpected error");
    }
    ShowError(text);
    // A run that broke off must not leave the window half-way.
    if (running_) EndBrokenOffRun();
    return false;
}

void MainWindowLogic::GuardedWhenIdle(const std::function<void()>& body) {
    // Another run, a new selection or renamed output folders would pull the
    // ground from under a run going on.
    if (running_) return;
    Guarded(body);
}

// ---------------------------------------------------------------------------
// Which handler each button and menu command calls.

void MainWindowLogic::Command(form::Id id) {
    using form::Id;
    switch (id) {
        case Id::btnopen:
            btnopenClick();
            break;
        case Id::btnenc:
            btnencClick();
            break;
        case Id::btndec:
            btndecClick();
            break;
        case Id::btncancel:
            btncancelClick();
            break;
        case Id::N2:
            N2Click();
            break;
        case Id::N5:
            N5Click();
            break;
        case Id::N7:
            N7Click();
            break;
        case Id::N8:
            N8Click();
            break;
        case Id::nabout:
            naboutClick();
            break;
        case Id::ndonate:
            ndonateClick();
            break;
        case Id::mch:
            mchClick();
            break;
        case Id::men:
            menClick();
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------
// Start-up, settings file and shutdown.

void MainWindowLogic::FormCreate() {
    Guarded([this] {
        wrongPasswordCount_ = 0;
        port_.SetOuterHeight(form::kRestHeight);

        // An error of the settings file is shown and start-up goes on.
        if (Guarded([this] { languageEnglish_ = SettingsSayEnglish(); })) {
            // When only the writing fails, the texts are in place.
            Guarded([this] { interfacelanguage(languageEnglish_); });
        } else {
            // Keep the file we could not read as it is, but never leave the
            // window without texts or output-folder names.
            ApplyTexts(false);
        }
        port_.NavigateBanner(WebAddress("ad.htm"),
                             locations_.helpFolder + PageOfLanguage(languageEnglish_, "banner.htm"));
    });
}

bool MainWindowLogic::SettingsSayEnglish() const {
    // Through the file layer, which reads the name as UTF-8 on every system.
    // A folder in its place is not "no settings": reading it reports the error.
    if (!FileExists(locations_.configPath) && !FolderExists(locations_.configPath)) return false;
    LineTextFile file = OpenTextForReading(locations_.configPath);
    std::string firstLine;
    if (!AtTextEnd(file)) firstLine = TakeLine(file);
    CloseText(file);
    return firstLine == kSettingsEnglish;
}

bool MainWindowLogic::FormCloseQuery() {
    if (!running_) return true;
    cancelFlag_ = true;
    closeAfterRun_ = true;
    return false;
}

void MainWindowLogic::N5Click() {
    port_.Close();
}

void MainWindowLogic::FormClose() {
    selectionList_ = {};
}

// ---------------------------------------------------------------------------
// Language.

void MainWindowLogic::ApplyTexts(bool english) {
    const LanguageTable& table = LanguageTableFor(english);
    messages_ = table.messages;
    applicationTitle_ = std::string(table.applicationTitle);
    port_.SetTexts(FormTextsOf(table, std::string(table.naboutPrefix) + locations_.siteHost));
    dialog_.filter = std::string(table.dialogFilter);
}

void MainWindowLogic::interfacelanguage(bool english) {
    ApplyTexts(english);
    LineTextFile file = CreateTextForReplacing(locations_.configPath);
    PutText(file, english ? kSettingsEnglish : kSettingsChinese);
    PutLineBreak(file);
    CloseText(file);
}

void MainWindowLogic::menClick() {
    GuardedWhenIdle([this] {
        languageEnglish_ = true;
        interfacelanguage(languageEnglish_);
    });
}

void MainWindowLogic::mchClick() {
    GuardedWhenIdle([this] {
        languageEnglish_ = false;
        interfacelanguage(languageEnglish_);
    });
}

// ---------------------------------------------------------------------------
// Source file selection.

void MainWindowLogic::btnopenClick() {
    GuardedWhenIdle([this] { OpenSelection(); });
}

void MainWindowLogic::N2Click() {
    btnopenClick();
}

void MainWindowLogic::OpenSelection() {
    dialog_.filterIndex = port_.SuffixMode() == 1 ? 4 : 0;
    std::vector<std::string> paths = dialogs_.OpenFiles(dialog_);
    // From the second call on the dialog starts in the program's folder.
    dialog_.initialFolder = PathFolderTrimmed(locations_.exeFolder + "x");
    // A cancelled dialog keeps the earlier selection whole.
    if (paths.empty()) return;
    ApplySelection(std::move(paths));
}

void MainWindowLogic::ApplySelection(std::vector<std::string> paths) {
    selectionList_ = std::move(paths);
    dialog_.defaultFileName = selectionList_.front();
    port_.SetFolderBoxText(PathFolder(selectionList_.front()));
}

bool MainWindowLogic::FormDragOver(const std::vector<std::string>& paths) const {
    return !running_ && !DroppedSelection(paths).empty();
}

bool MainWindowLogic::FormDragDrop(const std::vector<std::string>& paths) {
    bool taken = false;
    GuardedWhenIdle([this, &paths, &taken] {
        std::vector<std::string> files = DroppedSelection(paths);
        taken = !files.empty();
        if (taken) ApplySelection(std::move(files));
    });
    return taken;
}

void MainWindowLogic::CommandLineFiles(const std::vector<std::string>& paths) {
    FormDragDrop(paths);
}

// ---------------------------------------------------------------------------
// Shared pieces of the two runs.

bool MainWindowLogic::ReadyToRun(std::string_view noImageMessage) {
    cancelFlag_ = false;
    port_.SetProgressRange(0, SelectionCount());
    port_.SetProgressPosition(0);
    if (!selectionList_.empty()) return true;
    // Nothing to work on: say so and let the user pick files at once; the
    // run does not start by itself afterwards.
    ShowMessage(std::string(noImageMessage));
    OpenSelection();
    return false;
}

bool MainWindowLogic::CheckPassword() {
    const PasswordCheck check = getencsn(port_.PasswordText(), PasswordRuleTextsOf(messages_));
    for (const std::string& message : check.messages) ShowMessage(message);
    return check.valid;
}

void MainWindowLogic::BeginRun() {
    running_ = true;
    // No nested runs, no new selection and no renamed output folder mid-run.
    port_.SetRunCommandsEnabled(false);
    port_.SetDecryptEnabled(false);
    port_.SetOuterHeight(form::kRunHeight);
}

void MainWindowLogic::EndRun() {
    port_.SetOuterHeight(form::kRestHeight);
    running_ = false;
    port_.SetRunCommandsEnabled(true);
    port_.SetDecryptEnabled(!DecryptLocked());
    // A close asked for during the run comes now that it is over.
    if (std::exchange(closeAfterRun_, false)) port_.Close();
}

void MainWindowLogic::EndBrokenOffRun() {
    port_.SetProgressPosition(0);
    EndRun();
}

void MainWindowLogic::EndCancelledRun() {
    // The progress row keeps its last values.
    ShowMessage(std::string(messages_.msgCanceled));
    EndRun();
}

bool MainWindowLogic::StepAfterFile(int done, int count) {
    port_.SetProgressPosition(done);
    port_.SetProgressLabel(ProgressLabelText(done, count));
    port_.ProcessPendingEvents();
    if (!cancelFlag_) return false;
    EndCancelledRun();
    return true;
}

void MainWindowLogic::WrongPassword() {
    ShowMessage(std::string(messages_.msgWrongPassword));
    ++wrongPasswordCount_;
    if (running_) {
        EndBrokenOffRun();  // leaves Decrypt off once it is locked
    } else if (DecryptLocked()) {
        port_.SetDecryptEnabled(false);
    }
    if (DecryptLocked()) ShowMessage(std::string(messages_.msgTenTries));
}

// ---------------------------------------------------------------------------
// Sealed files: the key derivation off the window's thread, large files with
// the window live.

SecretBytes MainWindowLogic::TypedPassword() const {
    std::string text = port_.PasswordText();
    SecretBytes password(text);
    WipeBytes(text.data(), text.size());
    return password;
}

bool MainWindowLogic::CancelledWhileDeriving(const std::function<void()>& derive, int done,
                                             int count) {
    // The row says the run is under way, though no file is done yet.
    port_.SetProgressLabel(ProgressLabelText(done, count));
    RunWithWindowLive(derive, [this] { port_.ProcessPendingEvents(); });
    if (!cancelFlag_) return false;
    EndCancelledRun();
    return true;
}

SealedProgressFn MainWindowLogic::LiveWithinFile() {
    return [this, pacer = EventPacer()](std::uint64_t done, std::uint64_t) mutable {
        if (pacer.Due(done)) port_.ProcessPendingEvents();
        return !cancelFlag_;
    };
}

const SealingKey* MainWindowLogic::RunSealingKey(std::optional<SealingKey>& key,
                                                 SecretBytes& keyPassword,
                                                 const SecretBytes& password, int done, int count) {
    // Each file takes the password of the moment, as with the other classes.
    if (key && std::ranges::equal(keyPassword.span(), password.span())) return &*key;
    key.reset();
    if (CancelledWhileDeriving([&] { key.emplace(AsText(password)); }, done, count)) {
        return nullptr;
    }
    keyPassword = SecretBytes(AsText(password));
    return &*key;
}

bool MainWindowLogic::OpenSealed(const std::string& path, OpeningKeys& keys, bool suffixFlag,
                                 int done, int count) {
    const SealedHeader header = ProbeSealedFile(path, nullptr);
    if (!keys.HasKeyFor(header) &&
        CancelledWhileDeriving([&] { keys.KekFor(header); }, done, count)) {
        return false;
    }
    try {
        OpenSealedFile(path, keys, suffixFlag, messages_.dirDecrypted, LiveWithinFile());
    } catch (const ECancelled&) {
        // Nothing of the file was written.
        EndCancelledRun();
        return false;
    }
    return true;
}

void MainWindowLogic::btncancelClick() {
    cancelFlag_ = true;
}

void MainWindowLogic::edtEnpassChange() {
    // Nothing to forget: every Decrypt press compares the password afresh.
}

// ---------------------------------------------------------------------------
// Encryption run.

void MainWindowLogic::btnencClick() {
    GuardedWhenIdle([this] { RunEncryption(); });
}

void MainWindowLogic::RunEncryption() {
    const std::string nameSuffix = port_.SuffixMode() == 1 ? "E" : "";
    if (!ReadyToRun(messages_.msgNoImageEncrypt)) return;
    // The result is ignored on purpose: a folder that cannot be made shows up
    // as the error of the first file written into it.
    CreateFolder(OutputFolder(port_.FolderBoxText(), messages_.dirEncrypted));
    if (!CheckPassword()) return;

    BeginRun();
    const std::vector<std::string> files = selectionList_;
    const int count = SelectionCount();
    int encrypted = 0;
    int tooLarge = 0;
    // Sealed files share the run's key: one derivation, before the first of them.
    std::optional<SealingKey> sealingKey;
    SecretBytes sealedWith;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const int done = static_cast<int>(i);
        const EncryptionClass cls = ClassOfItem(port_.EncryptionClassIndex());
        // Sealed files have no size limit.
        if (cls != EncryptionClass::Sealed && IsTooLargeToEncrypt(files[i])) {
            ++tooLarge;
        } else {
            // The password box stays live; a password that now breaks the
            // rules would make this container impossible to decrypt, so the
            // run stops here instead of writing it.
            if (!CheckPassword()) {
                EndRun();
                return;
            }
            EncryptionInputs inputs;
            inputs.cls = cls;
            inputs.nameSuffix = nameSuffix;
            inputs.dirEncrypted = std::string(messages_.dirEncrypted);
            if (cls == EncryptionClass::Sealed) {
                inputs.sealingKey =
                    RunSealingKey(sealingKey, sealedWith, TypedPassword(), done, count);
                if (inputs.sealingKey == nullptr) return;
                inputs.progress = LiveWithinFile();
            } else {
                inputs.password = port_.PasswordText();
            }
            try {
                encryption(files[i], inputs);
            } catch (const ECancelled&) {
                // Stopped inside the file: nothing of it was written.
                EndCancelledRun();
                return;
            }
            ++encrypted;
        }
        if (StepAfterFile(done + 1, count)) return;
    }

    port_.SetProgressPosition(count);
    if (tooLarge > 0) ShowMessage(OversizeSummary(languageEnglish_, tooLarge, count));
    if (encrypted > 0) {
        const std::string folderBox = port_.FolderBoxText();
        if (Confirm(RunDoneQuestion(count - tooLarge, messages_.msgEncryptDone, folderBox,
                                    messages_.dirEncrypted))) {
            port_.OpenLocalPath(OutputFolder(folderBox, messages_.dirEncrypted));
        }
    }
    port_.SetProgressPosition(0);
    EndRun();
}

// ---------------------------------------------------------------------------
// Decryption run.

void MainWindowLogic::btndecClick() {
    if (DecryptLocked()) return;
    GuardedWhenIdle([this] { RunDecryption(); });
}

void MainWindowLogic::RunDecryption() {
    const bool suffixFlag = port_.SuffixMode() == 1;
    if (!ReadyToRun(messages_.msgNoImageDecrypt)) return;

    // Probe the first file whatever the password check found.
    const bool passwordValid = CheckPassword();
    const std::string first = selectionList_.front();
    const int count = SelectionCount();
    // Every sealed file of the run is opened with the password checked here.
    OpeningKeys keys(AsText(TypedPassword()));
    if (IsSealedFile(first)) {
        // A container, so no question. Its probe is the key derivation and
        // the header's tag; the window stays live meanwhile, so the run has
        // begun.
        if (!passwordValid) return;
        const SealedHeader header = ProbeSealedFile(first, nullptr);
        BeginRun();
        if (CancelledWhileDeriving([&] { keys.KekFor(header); }, 0, count)) return;
        try {
            ProbeSealedFile(first, &keys);
        } catch (const EWrongPassword&) {
            WrongPassword();
            return;
        }
    } else {
        const ProbeResult probe = decryption1(first, port_.PasswordText());
        if (!probe.isContainer && !Confirm(std::string(messages_.msgNotEncrypted))) return;
        if (!passwordValid) return;
        if (!probe.passwordMatch) {
            WrongPassword();
            return;
        }
        BeginRun();
    }

    const std::string folderBox = port_.FolderBoxText();
    // Ignored on purpose, as in the encryption run.
    CreateFolder(OutputFolder(folderBox, messages_.dirDecrypted));
    const std::vector<std::string> files = selectionList_;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const int done = static_cast<int>(i);
        CheckPassword();  // shows the rule messages again; decrypting does not need it
        try {
            // Each file by its kind: a sealed one is checked against the
            // password, chunk by chunk.
            if (IsSealedFile(files[i])) {
                if (!OpenSealed(files[i], keys, suffixFlag, done, count)) return;
            } else {
                decryption(files[i], suffixFlag, std::string(messages_.dirDecrypted));
            }
        } catch (const EWrongPassword&) {
            // Sealed with another password: refused as the first file would be.
            WrongPassword();
            return;
        }
        if (StepAfterFile(done + 1, count)) return;
    }

    wrongPasswordCount_ = 0;
    port_.SetProgressPosition(count);
    if (Confirm(
            RunDoneQuestion(count, messages_.msgDecryptDone, folderBox, messages_.dirDecrypted))) {
        port_.OpenLocalPath(OutputFolder(folderBox, messages_.dirDecrypted));
    }
    port_.SetProgressPosition(0);
    EndRun();
}

// ---------------------------------------------------------------------------
// Help pages and web links.

std::string MainWindowLogic::WebAddress(std::string_view page) const {
    return "http://" + locations_.siteHost + std::string(kSitePages) +
           PageOfLanguage(languageEnglish_, page);
}

void MainWindowLogic::N7Click() {
    Guarded([this] {
        port_.OpenLocalPath(locations_.helpFolder + PageOfLanguage(languageEnglish_, kHelpPage));
    });
}

void MainWindowLogic::N8Click() {
    Guarded([this] { port_.OpenUrl(WebAddress(kHelpPage)); });
}

void MainWindowLogic::naboutClick() {
    Guarded([this] { port_.OpenUrl(WebAddress("about.htm")); });
}

void MainWindowLogic::ndonateClick() {
    Guarded([this] { port_.OpenUrl(WebAddress("donate.htm")); });
}

}  // namespace imgcrypt
