#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace zt {

// What a second start of the program tells the one already running: come
// forward, or run the macro at a cell (column 0..255, row 0..8191).
struct InstanceMessage {
    enum class Kind { Activate, RunMacro };
    Kind What = Kind::Activate;
    int Column = 0;
    int Row = 0;
};

// The message as one line on the channel: "ACTIVATE" or "MACRO col,row".
std::string FormatInstanceMessage(const InstanceMessage& message);
// False for anything else, including a cell outside the worksheet.
bool ParseInstanceMessage(std::string_view line, InstanceMessage& message);

// One running instance per user and desktop. The first start becomes the
// primary and hears the messages of later starts; a later start sends its
// message and ends.
class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // Claims the primary's place; false when another instance holds it.
    virtual bool BecomePrimary() = 0;
    // Hands a message to the primary; false when none could be reached.
    virtual bool Send(const InstanceMessage& message) = 0;

    // What the primary does with the messages it hears.
    void OnActivate(std::function<void()> handler) { onActivate_ = std::move(handler); }
    void OnRunMacro(std::function<void(int column, int row)> handler) { onRunMacro_ = std::move(handler); }

protected:
    // Acts on one received line; malformed lines are ignored.
    void Dispatch(std::string_view line) const;

private:
    std::function<void()> onActivate_;
    std::function<void(int, int)> onRunMacro_;
};

}  // namespace zt
