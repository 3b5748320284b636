#pragma once
// The batch commands that copy and move cells and insert or delete rows
// and columns.
#include <string_view>

namespace zt {

class BatchSession;

void CmdCopy(BatchSession& s, std::string_view rest);
void CmdMove(BatchSession& s, std::string_view rest);
void CmdCopyValues(BatchSession& s, std::string_view rest);
void CmdInsertRows(BatchSession& s, std::string_view rest);
void CmdDeleteRows(BatchSession& s, std::string_view rest);
void CmdInsertColumns(BatchSession& s, std::string_view rest);
void CmdDeleteColumns(BatchSession& s, std::string_view rest);
void CmdPageBreak(BatchSession& s, std::string_view rest);

}  // namespace zt
