#pragma once
// A fresh worksheet with the formula engine behind it, for the benchmarks.
#include <memory>
#include <string>

#include "core/address.h"
#include "core/cell_store.h"
#include "formula/formula_engine.h"

namespace zt {

inline std::unique_ptr<Engine> NewSheet()
{
    auto e = std::make_unique<Engine>();
    InstallFormulaEngine(*e);
    RestoreContext(*e, OpenSheet(*e, "BENCH"));
    return e;
}

inline std::string Addr(int row, int col) { return ColumnLetters(col) + std::to_string(row + 1); }

}  // namespace zt
