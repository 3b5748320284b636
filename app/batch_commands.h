#pragma once
#include <span>
#include <string_view>

namespace zt {

class BatchSession;

// One command of batch mode: its name, the words it takes, what it does,
// and the handler that gets the rest of the line after the name.
struct BatchCommand {
    std::string_view Name;
    std::string_view Args;
    std::string_view Help;
    void (*Run)(BatchSession& s, std::string_view rest);
};

std::span<const BatchCommand> BatchCommands();

}  // namespace zt
