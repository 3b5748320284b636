#pragma once
#include <string_view>

namespace zt {

class BatchSession;

void CmdMacro(BatchSession& s, std::string_view rest);
void CmdMacroText(BatchSession& s, std::string_view rest);
void CmdKeys(BatchSession& s, std::string_view rest);
void CmdAnswer(BatchSession& s, std::string_view rest);

}  // namespace zt
