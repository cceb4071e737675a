// Dialogs for the window tests and the screenshot tools of both windows:
// every box is answered from answers given in advance, in order, and
// recorded in the order shown, so a test never blocks on a box nobody
// answers.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "batch/dialogs.h"
#include "batch/language_tables.h"

namespace imgcrypt::test {

class ScriptedDialogs final : public Dialogs {
  public:
    enum class Kind { Message, Confirm, Error, OpenFiles };
    struct Record {
        Kind kind;
        std::string caption;
        std::string text;           // the text as the logic gave it
        OpenDialogRequest request;  // OpenFiles only
    };

    // Answers for the next boxes, consumed in order. A box that finds no
    // answer counts as unanswered and gets No / cancel.
    void QueueAnswer(bool yes) { answers_.push_back(yes); }
    void QueueOpenFiles(std::vector<std::string> paths) {
        openAnswers_.push_back(std::move(paths));
    }
    int unanswered() const noexcept { return unanswered_; }
    // Every box in the order shown.
    const std::vector<Record>& records() const noexcept { return records_; }
    void ClearRecords() { records_.clear(); }
    // Called for every box as it is shown, e.g. to look at the window while
    // a box is up.
    void SetObserver(std::function<void(const Record&)> observer) {
        observer_ = std::move(observer);
    }

    void Message(const std::string& caption, const std::string& text) override {
        Note({Kind::Message, caption, text, {}});
    }
    bool Confirm(const std::string& text) override {
        Note({Kind::Confirm, std::string(kConfirmCaption), text, {}});
        return TakeNext(answers_).value_or(false);
    }
    void Error(const std::string& caption, const std::string& text) override {
        Note({Kind::Error, caption, text, {}});
    }
    std::vector<std::string> OpenFiles(const OpenDialogRequest& request) override {
        Note({Kind::OpenFiles, {}, {}, request});
        return TakeNext(openAnswers_).value_or(std::vector<std::string>());
    }

  private:
    void Note(Record record) {
        records_.push_back(std::move(record));
        if (observer_) observer_(records_.back());
    }
    template <typename Answer>
    std::optional<Answer> TakeNext(std::deque<Answer>& queue) {
        if (queue.empty()) {
            ++unanswered_;
            return std::nullopt;
        }
        Answer next = std::move(queue.front());
        queue.pop_front();
        return next;
    }

    std::deque<bool> answers_;
    std::deque<std::vector<std::string>> openAnswers_;
    int unanswered_ = 0;
    std::vector<Record> records_;
    std::function<void(const Record&)> observer_;
};

}  // namespace imgcrypt::test
