#pragma once
#include <string>

#include "core/engine.h"

namespace zt {

// Compiles formula text (at most 240 characters) in place: on return the
// string holds the compiled code, bytes 0..L with byte 0 = L and byte L =
// the end marker. Sets ErrorFlag when the text is not a formula; the string
// is then meaningless and the caller keeps the typed text. A longer text,
// or one whose code would not fit 240 bytes, fails with kFormulaTooLong.
void CompileFormula(Engine& e, std::string& text);

}  // namespace zt
