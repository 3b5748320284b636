#pragma once
#include <string>

#include "core/engine.h"

namespace zt {

// Works out from every formula's code what it must be registered as reading
// and compares that with the Dependents lists and the range areas of the
// current worksheet (whose own indexes are checked too). Returns the first
// difference, or an empty text when all agree. A command that moves cells
// without telling the bookkeeping shows up here.
std::string CheckDependencies(Engine& e);

}  // namespace zt
