#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "platform/notify.h"

namespace zt {

// Messages without a window: each goes to a sink (standard error in batch
// mode) and is counted.
class HeadlessNotify : public Notify {
public:
    explicit HeadlessNotify(std::function<void(std::string_view)> sink) : sink_(std::move(sink)) {}
    void Beep() override { ++beeps_; }
    void ShowMessage(std::string_view text) override
    {
        ++messages_;
        if (sink_)
            sink_(text);
    }
    int Beeps() const { return beeps_; }
    int Messages() const { return messages_; }

private:
    std::function<void(std::string_view)> sink_;
    int beeps_ = 0;
    int messages_ = 0;
};

}  // namespace zt
