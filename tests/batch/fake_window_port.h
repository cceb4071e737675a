// A scripted window, boxes included, for driving MainWindowLogic: records
// every call in order, answers confirmations and dialogs from queues, and can
// act (press Cancel, retype the password, ...) whenever the logic lets
// pending events run.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/dialogs.h"
#include "batch/window_port.h"

namespace imgcrypt::test {

class FakeWindowPort : public WindowPort, public Dialogs {
  public:
    // Controls as the user left them.
    std::string password;
    int suffixMode = 0;
    int classIndex = 0;
    std::string folderBox;

    // Answers; an empty queue answers No / cancels the dialog.
    std::deque<bool> confirmAnswers;
    std::deque<std::vector<std::string>> dialogResults;
    // Runs inside ProcessPendingEvents with the 1-based number of the call.
    std::function<void(int)> onEvents;

    // Every call, in order, as "kind: detail".
    std::vector<std::string> calls;
    std::vector<OpenDialogRequest> dialogRequests;
    // The table whose texts the last SetTexts put in place.
    const LanguageTable* appliedTable = nullptr;
    FormTexts appliedTexts;
    bool decryptEnabled = true;
    bool runCommandsEnabled = true;
    int height = 0;
    int eventCalls = 0;
    std::string boxCaption;  // of the last plain or error box
    std::string bannerFallback;  // the local page of the last NavigateBanner

    // Details of the calls of one kind, in order.
    std::vector<std::string> Of(std::string_view kind) const {
        std::vector<std::string> out;
        const std::string prefix = std::string(kind) + ": ";
        for (const std::string& call : calls) {
            if (call.rfind(prefix, 0) == 0) out.push_back(call.substr(prefix.size()));
        }
        return out;
    }
    // What the user saw in boxes: "message: ...", "confirm: ...", "error: ...".
    std::vector<std::string> Boxes() const {
        std::vector<std::string> out;
        for (const std::string& call : calls) {
            if (call.rfind("message: ", 0) == 0 || call.rfind("confirm: ", 0) == 0 ||
                call.rfind("error: ", 0) == 0) {
                out.push_back(call);
            }
        }
        return out;
    }
    bool Called(std::string_view call) const {
        for (const std::string& c : calls) {
            if (c == call) return true;
        }
        return false;
    }
    void ClearCalls() {
        calls.clear();
        dialogRequests.clear();
        eventCalls = 0;
    }

    std::string PasswordText() const override { return password; }
    int SuffixMode() const override { return suffixMode; }
    int EncryptionClassIndex() const override { return classIndex; }
    std::string FolderBoxText() const override { return folderBox; }
    void SetFolderBoxText(const std::string& text) override {
        folderBox = text;
        calls.push_back("folder-box: " + text);
    }

    void Message(const std::string& caption, const std::string& text) override {
        boxCaption = caption;
        calls.push_back("message: " + text);
    }
    bool Confirm(const std::string& text) override {
        calls.push_back("confirm: " + text);
        if (confirmAnswers.empty()) return false;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    void Error(const std::string& caption, const std::string& text) override {
        boxCaption = caption;
        calls.push_back("error: " + text);
    }
    std::vector<std::string> OpenFiles(const OpenDialogRequest& request) override {
        calls.push_back("dialog: " + std::to_string(request.filterIndex) + " [" +
                        request.initialFolder + "] [" + request.defaultFileName + "]");
        dialogRequests.push_back(request);
        if (dialogResults.empty()) return {};
        std::vector<std::string> result = dialogResults.front();
        dialogResults.pop_front();
        return result;
    }

    void ProcessPendingEvents() override {
        calls.push_back("events: ");
        ++eventCalls;
        if (onEvents) onEvents(eventCalls);
    }
    void SetOuterHeight(int h) override {
        height = h;
        calls.push_back("height: " + std::to_string(h));
    }
    void SetProgressRange(int minimum, int maximum) override {
        calls.push_back("range: " + std::to_string(minimum) + ".." + std::to_string(maximum));
    }
    void SetProgressPosition(int position) override {
        calls.push_back("position: " + std::to_string(position));
    }
    void SetProgressLabel(const std::string& text) override { calls.push_back("label: " + text); }

    void SetDecryptEnabled(bool enabled) override {
        decryptEnabled = enabled;
        calls.push_back(std::string("decrypt: ") + (enabled ? "on" : "off"));
    }
    void SetRunCommandsEnabled(bool enabled) override {
        runCommandsEnabled = enabled;
        calls.push_back(std::string("commands: ") + (enabled ? "on" : "off"));
    }

    void OpenLocalPath(const std::string& path) override { calls.push_back("open-path: " + path); }
    void OpenUrl(const std::string& url) override { calls.push_back("open-url: " + url); }

    void SetTexts(const FormTexts& texts) override {
        appliedTexts = texts;
        appliedTable = texts.windowCaption == EnglishTable().windowCaption ? &EnglishTable()
                                                                          : &ChineseTable();
        std::string about;
        for (const Caption& caption : texts.captions) {
            if (caption.id == form::Id::nabout) about = caption.text;
        }
        calls.push_back("language: " + texts.windowCaption + " / " + about);
    }
    void NavigateBanner(const std::string& url, const std::string& fallbackPath) override {
        calls.push_back("banner: " + url);
        bannerFallback = fallbackPath;
    }
    void Close() override { calls.push_back("close: "); }
};

}  // namespace imgcrypt::test
