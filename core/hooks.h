#pragma once
#include <string>
#include <string_view>

#include "core/cell.h"
#include "core/range.h"
#include "platform/notify.h"

namespace zt {

struct Engine;

// What the core needs of the formula engine. The formula layer installs its
// implementation at start-up; until then no text compiles as a formula.
class FormulaHooks {
public:
    virtual ~FormulaHooks() = default;
    // Compiles formula text in place into its code (bytes 0..L, byte 0 = L);
    // sets ErrorFlag when the text is not a formula.
    virtual void CompileFormula(Engine& e, std::string& text);
    // Registers (unregisters) the formula with the cells and ranges it reads
    // (core/dependencies.h); false when the heap could not take it.
    virtual bool LinkDependencies(Engine&, PCell) { return true; }
    virtual void UnlinkDependencies(Engine&, PCell) {}
    // Rewrites the cell's code between the linked form (references name
    // cells) and the relative form (coordinates seen from the cell,
    // kfUnlinked). Linking creates the cells named; when the heap cannot
    // hold them the code stays relative and kfUnlinked stays set.
    virtual void UnlinkFormula(Engine&, PCell) {}
    virtual void LinkFormula(Engine&, PCell) {}
    // Links a formula held in the relative form (read from a file or an
    // undo image) and registers it. When the heap cannot take it, it stays
    // in the relative form showing ERR, and false is returned.
    virtual bool LinkStoredFormula(Engine&, PCell) { return false; }
    virtual void EvaluateCell(Engine&, PCell) {}
    virtual void RecalcFrom(Engine&, PCell) {}
    virtual void RecalcAll(Engine&) {}
    // Turns the formula's references to a cell about to disappear into
    // references to no cell, dropping the links they had put elsewhere.
    virtual void DropReferences(Engine&, PCell /*formula*/, PCell /*target*/) {}
    // The formula of a cell as the user would type it.
    virtual std::string FormulaToText(Engine&, PCell) { return {}; }
};

// What the formula engine needs of the file layer: the worksheet of a file
// that an external reference names. Until the file layer installs itself,
// no other file can be reached.
class FileHooks {
public:
    virtual ~FileHooks() = default;
    // The slot of the worksheet file named by path, loading it when needed; 0 when it cannot be had.
    virtual int ExternalSheetSlot(Engine&, std::string_view) { return 0; }
};

// What the core needs of whoever shows the worksheet: the selection behind
// the word RANGE and the cell cursor behind CURSOR.
class ViewHooks {
public:
    virtual ~ViewHooks() = default;
    virtual TRange Selection(const Engine&) const { return kUndefinedRange; }
    virtual TRange CursorCell(const Engine&) const { return TRange{0, 0, 0, 0}; }
    // A column's width in pixels as shown; without a window, the layout's.
    virtual int ColumnWidth(const Engine& e, int col) const;
    // The caption of the active worksheet window; without one, the worksheet's name.
    virtual std::string WindowCaption(const Engine& e) const;
    // One of the two stored view values of the worksheet window (n = 0 or 1).
    virtual double ViewValue(const Engine&, int) const { return 0; }
};

}  // namespace zt
