#include "core/engine.h"

namespace zt {

void FormulaHooks::CompileFormula(Engine& e, std::string&) { e.Err.ErrorFlag = true; }

Engine::Engine(int pageLimit) : Heap(pageLimit)
{
    DefaultCell.Typeface = 255;
    DefaultCell.Colors = 0xC0000000u;
    DefaultCell.Format = kFormatProtected | kFormatDefault;
    DefaultCell.Kind = ckBlank;
    ScratchFormulaCell = DefaultCell;
    ScratchFormulaCell.Kind = ckFormula;
}

}  // namespace zt
