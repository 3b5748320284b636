#include "formula/formula_engine.h"

#include "formula/compiled_formula.h"
#include "formula/compiler.h"
#include "formula/evaluator.h"
#include "formula/formula_display.h"
#include "formula/recalc.h"

namespace zt {

namespace {

class FormulaEngine : public FormulaHooks {
public:
    void CompileFormula(Engine& e, std::string& text) override { zt::CompileFormula(e, text); }
    bool LinkDependencies(Engine& e, PCell c) override { return zt::LinkDependencies(e, c); }
    void UnlinkDependencies(Engine& e, PCell c) override { zt::UnlinkDependencies(e, c); }
    void UnlinkFormula(Engine& e, PCell c) override
    {
        if (!(c->Kind & kfUnlinked)) {
            zt::UnlinkFormula(e, CodeOf(e, c), c->Row, c->Col);
            c->Kind |= kfUnlinked;
        }
    }
    void LinkFormula(Engine& e, PCell c) override
    {
        if ((c->Kind & kfUnlinked) && zt::LinkFormula(e, CodeOf(e, c), c->Row, c->Col))
            c->Kind &= static_cast<std::uint8_t>(~kfUnlinked);
    }
    bool LinkStoredFormula(Engine& e, PCell c) override
    {
        LinkFormula(e, c);
        if (!(c->Kind & kfUnlinked) && zt::LinkDependencies(e, c))
            return true;
        ParkFormula(e, c);
        return false;
    }
    void EvaluateCell(Engine& e, PCell c) override { zt::EvaluateCell(e, c); }
    void RecalcAll(Engine& e) override { zt::RecalcAll(e); }
    void RecalcFrom(Engine& e, PCell c) override { zt::RecalcFrom(e, c); }
    void DropReferences(Engine& e, PCell f, PCell target) override { zt::DropReferences(e, f, target); }
    std::string FormulaToText(Engine& e, PCell c) override { return zt::FormulaToText(e, CodeOf(e, c)); }
};

}  // namespace

void InstallFormulaEngine(Engine& e) { e.Formula = std::make_unique<FormulaEngine>(); }

}  // namespace zt
