#pragma once
// The batch commands of the range tool buttons: erase, speed fill, speed
// sum and the quick graph.
#include <string_view>

namespace zt {

class BatchSession;

void CmdErase(BatchSession& s, std::string_view rest);
void CmdSpeedFill(BatchSession& s, std::string_view rest);
void CmdSpeedSum(BatchSession& s, std::string_view rest);
void CmdQuickGraph(BatchSession& s, std::string_view rest);

}  // namespace zt
