// The part of a window's dialog service that tests drive: in scripted mode
// every box is answered from answers given in advance, in order, and recorded
// in the order shown, so a test never blocks on a box nobody answers. The
// interactive mode the application uses shows real boxes and keeps nothing.
// Shared by the Qt and the Win32 window; `Text` and `Paths` are each
// toolkit's string and list of paths.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "batch/window_port.h"

namespace imgcrypt {

template <typename Text, typename Paths>
class ScriptedDialogs {
  public:
    enum class Kind { Message, Confirm, Error, OpenFiles };
    struct Record {
        Kind kind;
        Text caption;
        Text text;                  // the text as the logic gave it
        OpenDialogRequest request;  // OpenFiles only
    };
    enum class Mode { Interactive, Scripted };

    explicit ScriptedDialogs(Mode mode) : mode_(mode) {}

    // Answers for the next boxes, consumed in order. A box that finds no
    // answer counts as unanswered and gets No / cancel.
    void QueueAnswer(bool yes) { answers_.push_back(yes); }
    void QueueOpenFiles(Paths paths) { openAnswers_.push_back(std::move(paths)); }
    int unanswered() const noexcept { return unanswered_; }
    // Every box in the order shown (scripted mode only).
    const std::vector<Record>& records() const noexcept { return records_; }
    void ClearRecords() { records_.clear(); }
    // Called for every box as it is shown (scripted mode only), e.g. to look
    // at the window while a box is up.
    void SetObserver(std::function<void(const Record&)> observer) {
        observer_ = std::move(observer);
    }

  protected:
    bool Scripted() const noexcept { return mode_ == Mode::Scripted; }

    // Records the box and tells the observer; nothing in interactive mode.
    void Note(Record record) {
        if (!Scripted()) return;
        records_.push_back(std::move(record));
        if (observer_) observer_(records_.back());
    }
    // The next queued answer to a confirmation or to the open dialog;
    // nothing when none is left.
    std::optional<bool> TakeAnswer() { return TakeNext(answers_); }
    std::optional<Paths> TakeOpenFiles() { return TakeNext(openAnswers_); }

  private:
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

    Mode mode_;
    std::deque<bool> answers_;
    std::deque<Paths> openAnswers_;
    int unanswered_ = 0;
    std::vector<Record> records_;
    std::function<void(const Record&)> observer_;
};

}  // namespace imgcrypt
