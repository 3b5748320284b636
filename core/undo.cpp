#include "core/undo.h"

#include <cstddef>
#include <cstring>
#include <string>

#include "core/cell_store.h"
#include "core/remembered_ranges.h"

namespace zt {

namespace {

constexpr std::string_view kUndoMemoryMessage = "Out of UNDO memory!";
constexpr std::string_view kNothingToUndo = "Nothing to Undo";

// A saved cell image: the address of the next image, the cell's attribute
// bytes from Typeface to Row, its value kind without flags, then the text
// as a short string (kinds 0, 1 and 4) or the 8-byte value slot.
constexpr std::size_t kAttrOffset = offsetof(TCell, Typeface);
constexpr std::uint32_t kAttrBytes = offsetof(TCell, Text) - kAttrOffset;
constexpr std::uint32_t kImageAttrs = sizeof(HeapAddr);
constexpr std::uint32_t kImageKind = kImageAttrs + kAttrBytes;
constexpr std::uint32_t kImageData = kImageKind + 1;
constexpr std::uint32_t kValueBytes = sizeof(TCell::Value);
static_assert(kAttrBytes == 12 && kImageData == 17);

constexpr std::uint32_t kWidthBytes = sizeof(SheetLayout::ColWidths);
constexpr std::uint32_t kHeightBlockBytes = sizeof(SheetLayout::RowHeights) / kUndoHeightBlocks;
static_assert(kWidthBytes == 512 && kHeightBlockBytes == 4096);

std::uint8_t* Bytes(const Engine& e, HeapAddr a) { return e.Heap.At<std::uint8_t>(a); }
std::uint8_t* AttrBytes(TCell& c) { return reinterpret_cast<std::uint8_t*>(&c) + kAttrOffset; }

HeapAddr NextImage(const std::uint8_t* image)
{
    HeapAddr next;
    std::memcpy(&next, image, sizeof next);
    return next;
}

void SetNextImage(std::uint8_t* image, HeapAddr next) { std::memcpy(image, &next, sizeof next); }

std::string_view ImageText(const std::uint8_t* image)
{
    return {reinterpret_cast<const char*>(image + kImageData + 1), image[kImageData]};
}

std::uint32_t ImageSize(const std::uint8_t* image)
{
    return HasText(image[kImageKind]) ? kImageData + 1 + image[kImageData] : kImageData + kValueBytes;
}

// Copies sizes into a heap block, back out of it, or frees it.
bool SaveBlock(Engine& e, HeapAddr& slot, std::uint16_t* sizes, std::uint32_t bytes, int mode)
{
    if (mode == kLayoutSave) {
        HeapFree(e, slot, bytes);  // a block left from before is replaced, not leaked
        slot = HeapAlloc(e, bytes);
        if (!slot)
            return false;
        std::memcpy(Bytes(e, slot), sizes, bytes);
        return true;
    }
    if (mode == kLayoutRestore && slot)
        std::memcpy(sizes, Bytes(e, slot), bytes);
    HeapFree(e, slot, bytes);
    slot = 0;
    return true;
}

void FreeImages(Engine& e)
{
    HeapAddr& head = e.Cur->RowHeads[kUndoCellsSlot];
    while (head) {
        const std::uint8_t* image = Bytes(e, head);
        HeapAddr next = NextImage(image);
        HeapFree(e, head, ImageSize(image));
        head = next;
    }
}

// The formula's code in the relative form. The live cell is turned relative
// only long enough to copy its code; relinking finds the same cells again,
// so its links and the Dependents lists stay as they were.
std::string RelativeCode(Engine& e, PCell c)
{
    if (c->Kind & kfUnlinked)
        return std::string(TextOf(e, c->Text));
    e.Formula->UnlinkFormula(e, c);
    std::string code(TextOf(e, c->Text));
    e.Formula->LinkFormula(e, c);
    return code;
}

// A new image of the cell, or 0 when the heap is exhausted.
HeapAddr BuildImage(Engine& e, PCell c)
{
    std::uint8_t kind = BaseKind(c->Kind);
    std::string text;
    if (IsFormulaKind(kind))
        text = RelativeCode(e, c);
    else if (kind == ckString)
        text = TextOf(e, c->Text);
    bool hasText = HasText(kind);
    std::uint32_t size = hasText ? kImageData + 1 + static_cast<std::uint32_t>(text.size()) : kImageData + kValueBytes;
    HeapAddr a = HeapAlloc(e, size);
    if (!a)
        return 0;
    std::uint8_t* image = Bytes(e, a);
    SetNextImage(image, 0);
    std::memcpy(image + kImageAttrs, AttrBytes(*c), kAttrBytes);
    image[kImageKind] = kind;
    if (hasText) {
        image[kImageData] = static_cast<std::uint8_t>(text.size());
        std::memcpy(image + kImageData + 1, text.data(), text.size());
    } else {
        std::memcpy(image + kImageData, c->Value, kValueBytes);
    }
    return a;
}

// Appends an image of every cell within the extents, row by row and in
// column order within a row.
bool SaveCells(Engine& e, int maxRow, int maxCol)
{
    Worksheet& ws = *e.Cur;
    HeapAddr tail = 0;
    for (int row = 0; row <= maxRow; ++row) {
        for (PCell c = CellAt(e, ws.RowHeads[row]); c && c->Col <= maxCol; c = NextCell(e, c)) {
            HeapAddr image = BuildImage(e, c);
            if (!image)
                return false;
            if (tail)
                SetNextImage(Bytes(e, tail), image);
            else
                ws.RowHeads[kUndoCellsSlot] = image;
            tail = image;
        }
    }
    return true;
}

// A half-taken snapshot must not be restored as if it were whole: it goes
// entirely. The command that asked for it goes on, so the error state it
// started with is put back.
void AbandonSnapshot(Engine& e, const ErrorState& before)
{
    DiscardSnapshot(e);
    e.Cur->UndoLost = true;
    ReportError(e, kUndoMemoryMessage);
    e.Err = before;
}

// Rebuilds one cell from its image. A formula's code is stored relative and
// then linked, which creates the cells it reads where they do not exist yet.
// False when the heap could not take the cell whole.
bool RestoreCell(Engine& e, const std::uint8_t* image)
{
    TCell saved{};
    std::memcpy(AttrBytes(saved), image + kImageAttrs, kAttrBytes);
    PCell c = FindOrCreateCell(e, saved.Row, saved.Col);
    if (!c)
        return false;
    FreeText(e, c->Text);
    std::memcpy(AttrBytes(*c), AttrBytes(saved), kAttrBytes);
    std::uint8_t kind = image[kImageKind];
    c->Kind = kind;
    if (!HasText(kind)) {
        std::memcpy(c->Value, image + kImageData, kValueBytes);
        return true;
    }
    ZeroValue(*c);  // a string formula starts with no result string
    std::string_view text = ImageText(image);
    if (!text.empty())
        c->Text = SetText(e, 0, text);
    if (!c->Text && !text.empty()) {
        c->Kind = ckBlank;  // no room for the text or the code
        return false;
    }
    if (!IsFormulaKind(kind))
        return true;
    c->Kind |= kfUnlinked;
    return e.Formula->LinkStoredFormula(e, c);
}

}  // namespace

bool SaveWidths(Engine& e, int mode)
{
    if (!e.Cur)
        return false;
    return SaveBlock(e, e.Cur->RowHeads[kUndoWidthsSlot], e.Cur->Layout.ColWidths.data(), kWidthBytes, mode);
}

bool SaveHeights(Engine& e, int mode)
{
    if (!e.Cur)
        return false;
    auto block = [&](int i, int m) {
        std::uint16_t* heights = e.Cur->Layout.RowHeights.data() + i * (kHeightBlockBytes / sizeof(std::uint16_t));
        return SaveBlock(e, e.Cur->RowHeads[kUndoHeightsSlot + i], heights, kHeightBlockBytes, m);
    };
    bool ok = true;
    for (int i = 0; i < kUndoHeightBlocks && ok; ++i)
        ok = block(i, mode);
    if (!ok) {
        for (int i = 0; i < kUndoHeightBlocks; ++i)
            block(i, kLayoutFree);
    }
    return ok;
}

void DiscardSnapshot(Engine& e)
{
    if (!e.Cur)
        return;
    SaveWidths(e, kLayoutFree);
    SaveHeights(e, kLayoutFree);
    FreeImages(e);
    e.Cur->UndoHasCells = false;
    e.Cur->UndoRanges.clear();
    e.Cur->UndoLost = false;
}

void TakeUndoSnapshot(Engine& e)
{
    if (!e.Cur)
        return;
    Worksheet& ws = *e.Cur;
    int maxRow = ws.MaxRow;
    int maxCol = ws.MaxCol;
    DiscardSnapshot(e);
    if (!ws.Settings.Undo)
        return;
    ErrorState before = e.Err;
    // Relinking formulas looks their cells up again, which is no change.
    bool modified = ws.Modified;
    bool ok = SaveWidths(e, kLayoutSave) && SaveHeights(e, kLayoutSave) && SaveCells(e, maxRow, maxCol);
    ws.Modified = modified;
    if (!ok)
        AbandonSnapshot(e, before);
    else {
        ws.UndoHasCells = true;
        ws.UndoRanges = RememberedRanges(e);
    }
}

void SnapshotSizes(Engine& e)
{
    if (!e.Cur)
        return;
    DiscardSnapshot(e);
    if (!e.Settings().Undo)
        return;
    ErrorState before = e.Err;
    if (!(SaveWidths(e, kLayoutSave) && SaveHeights(e, kLayoutSave)))
        AbandonSnapshot(e, before);
}

void Undo(Engine& e)
{
    if (!e.Cur)
        return;
    // The user was told the snapshot failed; an Undo that then did nothing
    // would look as if it had restored the worksheet.
    if (e.Cur->UndoLost) {
        ReportError(e, kNothingToUndo);
        return;
    }
    // The list comes off its slot at once: its images are freed one by one
    // as their cells are rebuilt.
    // A snapshot of an empty worksheet has no images but still restores emptiness.
    HeapAddr image = e.Cur->RowHeads[kUndoCellsSlot];
    bool hasCells = e.Cur->UndoHasCells;
    std::vector<TRange> ranges = std::move(e.Cur->UndoRanges);
    e.Cur->RowHeads[kUndoCellsSlot] = 0;
    e.Cur->UndoHasCells = false;
    e.Cur->UndoRanges.clear();
    if (hasCells)
        FreeAllCells(e);
    SaveWidths(e, kLayoutRestore);
    SaveHeights(e, kLayoutRestore);
    if (!hasCells)
        return;
    bool whole = true;
    while (image) {
        const std::uint8_t* p = Bytes(e, image);
        HeapAddr next = NextImage(p);
        whole = RestoreCell(e, p) && whole;
        HeapFree(e, image, ImageSize(p));
        image = next;
    }
    RestoreRememberedRanges(e, ranges);
    e.Formula->RecalcAll(e);
    if (!whole)
        ReportError(e, kOutOfMemory);
}

}  // namespace zt
