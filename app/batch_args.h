#pragma once
// Reading the arguments of batch commands; a bad argument is reported
// through the session and gives false.
#include <string_view>

#include "core/cell.h"
#include "core/range.h"

namespace zt {

class BatchSession;
struct Engine;

std::string_view Trim(std::string_view s);
// Whether two words are the same when case is ignored.
bool SameWord(std::string_view a, std::string_view b);
// Splits off the first word; rest keeps what follows the single blank after it.
std::string_view NextWord(std::string_view& rest);

bool ArgRange(BatchSession& s, std::string_view text, TRange& r);
bool ArgCell(BatchSession& s, std::string_view text, int& row, int& col);
bool ArgInt(BatchSession& s, std::string_view text, long lo, long hi, long& v);
bool NoMoreArgs(BatchSession& s, std::string_view rest);

// A cell's value as the value command prints it: ERR, a number with 17
// significant digits, or the string.
std::string CellValueText(Engine& e, const TCell* c);

}  // namespace zt
