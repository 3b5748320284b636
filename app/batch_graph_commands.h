#pragma once
#include <string_view>

namespace zt {

class BatchSession;

// "graph ...": sets, names and shows the current graph definition.
void CmdGraph(BatchSession& s, std::string_view rest);

}  // namespace zt
