#include "core/engine.h"

namespace zt {

void FormulaHooks::CompileFormula(Engine& e, std::string&) { e.Err.ErrorFlag = true; }

int ViewHooks::ColumnWidth(const Engine& e, int col) const
{
    return e.Cur && col >= 0 && col < kCols ? e.Cur->Layout.ColWidths[col] : 0;
}

std::string ViewHooks::WindowCaption(const Engine& e) const { return e.Cur ? e.Cur->Name : std::string(); }

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
