#include "platform/single_instance.h"

namespace zt {
namespace {

constexpr std::string_view kActivate = "ACTIVATE";
constexpr std::string_view kMacro = "MACRO ";
constexpr int kLastColumn = 255;
constexpr int kLastRow = 8191;

// Plain decimal digits, at most five of them.
bool ReadNumber(std::string_view text, int& value)
{
    if (text.empty() || text.size() > 5)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

}  // namespace

std::string FormatInstanceMessage(const InstanceMessage& message)
{
    if (message.What == InstanceMessage::Kind::Activate)
        return std::string(kActivate);
    return std::string(kMacro) + std::to_string(message.Column) + "," + std::to_string(message.Row);
}

bool ParseInstanceMessage(std::string_view line, InstanceMessage& message)
{
    if (line == kActivate) {
        message = {};
        return true;
    }
    if (line.substr(0, kMacro.size()) != kMacro)
        return false;
    line.remove_prefix(kMacro.size());
    size_t comma = line.find(',');
    int column = 0;
    int row = 0;
    if (comma == std::string_view::npos || !ReadNumber(line.substr(0, comma), column)
        || !ReadNumber(line.substr(comma + 1), row))
        return false;
    if (column > kLastColumn || row > kLastRow)
        return false;
    message.What = InstanceMessage::Kind::RunMacro;
    message.Column = column;
    message.Row = row;
    return true;
}

void SingleInstance::Dispatch(std::string_view line) const
{
    InstanceMessage message;
    if (!ParseInstanceMessage(line, message))
        return;
    if (message.What == InstanceMessage::Kind::Activate) {
        if (onActivate_)
            onActivate_();
    } else if (onRunMacro_) {
        onRunMacro_(message.Column, message.Row);
    }
}

}  // namespace zt
