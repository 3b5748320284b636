#pragma once
// The batch commands that work with worksheet files, and the listing of
// cell values the command line asks for.
#include <string_view>

namespace zt {

class BatchSession;

void CmdOpen(BatchSession& s, std::string_view rest);
void CmdSave(BatchSession& s, std::string_view rest);
void CmdExtract(BatchSession& s, std::string_view rest);
void CmdMerge(BatchSession& s, std::string_view rest);
void CmdUplink(BatchSession& s, std::string_view rest);
void CmdPrint(BatchSession& s, std::string_view rest);

}  // namespace zt
