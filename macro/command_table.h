#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace zt {

inline constexpr int kMacroCommandCount = 164;
inline constexpr int kMacroFirstListCount = 145;  // entries 1..145; 146..164 form the second list
inline constexpr int kMacroPickerCount = 146;     // the names the function picker offers
inline constexpr int kMacroNameLength = 12;
inline constexpr int kMacroCodeLength = 6;
// The kind of a key or argument-less command that takes a repeat count;
// other kinds are the number of arguments, for information only.
inline constexpr std::int16_t kMacroRepeatKind = -1;

// What a brace name translates into.
struct MacroCode {
    std::array<char, kMacroCodeLength> Bytes{};
    std::uint8_t Size = 0;
};

struct MacroCommand {
    std::string_view Name;  // upper case
    std::int16_t Kind = 0;
    MacroCode CodeBytes;

    constexpr std::string_view Code() const { return {CodeBytes.Bytes.data(), CodeBytes.Size}; }
};

// The whole table: two lists, each sorted by name.
std::span<const MacroCommand> MacroCommands();
// Entries 1..146 in table order.
std::span<const MacroCommand> MacroPickerCommands();
// Binary search in the first list, then in the second; nullptr when absent.
const MacroCommand* FindMacroCommand(std::string_view upperName);

}  // namespace zt
