#pragma once
#include "core/engine.h"

namespace zt {

// Puts the formula engine behind the core's formula hooks: compilation,
// dependency links, evaluation, recalculation and display.
void InstallFormulaEngine(Engine& e);

}  // namespace zt
