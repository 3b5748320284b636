#pragma once
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/notify.h"

namespace zt {

// Messages without a window: each goes to a sink (standard error in batch
// mode) and is counted; questions take scripted answers in order.
class HeadlessNotify : public Notify {
public:
    explicit HeadlessNotify(std::function<void(std::string_view)> sink = {}) : sink_(std::move(sink)) {}

    void Beep() override { ++beeps_; }
    void ShowMessage(std::string_view text) override
    {
        ++messages_;
        lastMessage_ = text;
        if (sink_)
            sink_(text);
    }
    Answer Ask(std::string_view text, AskButtons buttons) override
    {
        questions_.emplace_back(text);
        if (answers_.empty())
            return Notify::Ask(text, buttons);
        Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }

    void QueueAnswer(Answer a) { answers_.push_back(a); }
    int Beeps() const { return beeps_; }
    int Messages() const { return messages_; }
    const std::string& LastMessage() const { return lastMessage_; }
    const std::vector<std::string>& Questions() const { return questions_; }

private:
    std::function<void(std::string_view)> sink_;
    std::deque<Answer> answers_;
    std::vector<std::string> questions_;
    std::string lastMessage_;
    int beeps_ = 0;
    int messages_ = 0;
};

}  // namespace zt
