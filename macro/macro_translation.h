#pragma once
#include <string>
#include <string_view>

#include "core/engine.h"

namespace zt {

// The internal line of a macro cell's text (at most 240 characters, no
// filler): keystrokes, key codes and brace commands turned into their codes
// and arguments. Range names in braces become subroutine calls; repeat
// counts are evaluated on the current worksheet.
//
// Bytes the line reserves for itself (0..31 and 255) that stand in the text
// are left out, so that a later reader never takes them for a key code, a
// command marker or the stop sentinel: a macro types printable characters
// only.
std::string TranslateMacroText(Engine& e, std::string_view text, char argSeparator = ',');

// Keys typed from outside a macro cell, written as in macros: translated
// the same way but never cut, since no cell holds them.
std::string TranslateKeyText(Engine& e, std::string_view text);

}  // namespace zt
