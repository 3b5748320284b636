#include "core/range_names.h"

#include <algorithm>
#include <cstring>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/cell_text.h"

namespace zt {

namespace {

// A name record: length byte, 12 name bytes, then the TRange.
constexpr std::uint32_t kRangeOffset = 1 + kRangeNameLength;
static_assert(kRangeOffset + sizeof(TRange) == kRangeNameRecord);

std::uint8_t* Record(const Engine& e, int entry)
{
    return e.Heap.At<std::uint8_t>(e.Cur->Names.Entries[entry]);
}

std::string_view NameOf(const Engine& e, int entry)
{
    const std::uint8_t* p = Record(e, entry);
    return {reinterpret_cast<const char*>(p + 1), std::min<std::size_t>(p[0], kRangeNameLength)};
}

bool ValidEntry(const Engine& e, int entry) { return e.Cur && entry >= 1 && entry <= e.Cur->Names.Count; }

// The text a label or string formula shows; empty for any other cell.
std::string ShownLabel(Engine& e, int row, int col) { return LabelText(e, FindCell(e, row, col)); }

// A range as the name table writes it: plain corners, no sheet prefix.
std::string TableRangeText(const Engine& e, const TRange& r)
{
    if (!RangeIsDefined(r))
        return {};
    std::string s = FormatSheetAddress(e, r.FirstRow, r.FirstCol);
    if (RangeIsBlock(r))
        s += ".." + FormatSheetAddress(e, r.LastRow, r.LastCol);
    return s;
}

}  // namespace

std::string RangeNameKey(std::string_view name) { return UpperCase(name); }

int FindRangeName(const Engine& e, std::string_view name, int low, int high)
{
    if (!e.Cur)
        return -1;
    low = std::max(low, 1);
    high = std::min(high, int(e.Cur->Names.Count));
    std::string key = RangeNameKey(name);
    // string_view compares bytes as unsigned char, shorter first on a common prefix.
    while (low <= high) {
        int mid = (low + high) / 2;
        int cmp = std::string_view(key).compare(NameOf(e, mid));
        if (cmp == 0)
            return mid;
        if (cmp < 0)
            high = mid - 1;
        else
            low = mid + 1;
    }
    return -low;
}

int FindRangeName(const Engine& e, std::string_view name)
{
    return e.Cur ? FindRangeName(e, name, 1, e.Cur->Names.Count) : -1;
}

bool AddRangeName(Engine& e, std::string_view name, const TRange& range, int position)
{
    if (!e.Cur)
        return false;
    TRangeNameTable& t = e.Cur->Names;
    if (t.Count >= kMaxRangeNames) {
        e.Err.Set(kTooManyRangeNames);
        return false;
    }
    if (name.size() > std::size_t(kRangeNameLength)) {
        e.Err.Set(kRangeNameTooLong);
        return false;
    }
    // A 0 byte would end the name in the file.
    std::string key = RangeNameKey(name);
    if (key.empty() || key.find('\0') != std::string::npos || FindRangeName(e, key) != -position) {
        e.Err.Set(kInvalidRangeName);
        return false;
    }
    // The record comes first so that a failed allocation leaves the table untouched.
    HeapAddr a = HeapAlloc(e, kRangeNameRecord);
    if (!a)
        return false;
    auto* p = e.Heap.At<std::uint8_t>(a);
    std::memset(p, 0, kRangeNameRecord);
    p[0] = static_cast<std::uint8_t>(key.size());
    std::memcpy(p + 1, key.data(), key.size());
    std::memcpy(p + kRangeOffset, &range, sizeof range);
    for (int i = t.Count; i >= position; --i)
        t.Entries[i + 1] = t.Entries[i];
    t.Entries[position] = a;
    ++t.Count;
    return true;
}

bool DeleteRangeName(Engine& e, std::string_view name)
{
    int entry = FindRangeName(e, name);
    if (entry <= 0)
        return false;
    TRangeNameTable& t = e.Cur->Names;
    HeapFree(e, t.Entries[entry], kRangeNameRecord);
    for (int i = entry; i < t.Count; ++i)
        t.Entries[i] = t.Entries[i + 1];
    t.Entries[t.Count] = 0;
    --t.Count;
    return true;
}

bool SetRangeName(Engine& e, std::string_view name, const TRange& range)
{
    int entry = FindRangeName(e, name);
    if (entry > 0) {
        SetRangeOfName(e, entry, range);
        return true;
    }
    return AddRangeName(e, name, range, -entry);
}

std::string RangeNameAt(const Engine& e, int entry)
{
    return ValidEntry(e, entry) ? std::string(NameOf(e, entry)) : std::string();
}

TRange RangeOfName(const Engine& e, int entry)
{
    TRange r = kUndefinedRange;
    if (ValidEntry(e, entry))
        std::memcpy(&r, Record(e, entry) + kRangeOffset, sizeof r);
    return r;
}

void SetRangeOfName(Engine& e, int entry, const TRange& range)
{
    if (ValidEntry(e, entry))
        std::memcpy(Record(e, entry) + kRangeOffset, &range, sizeof range);
}

void BuildRangeNames(Engine& e, const TRange& range)
{
    if (!e.Cur || !RangeIsDefined(range))
        return;
    TRange r = OrderedRange(range);
    for (int row = r.FirstRow; row <= r.LastRow && e.Cur->Names.Count < kMaxRangeNames; ++row) {
        e.Err.Clear();
        std::string name = UpperCase(ShownLabel(e, row, r.FirstCol));
        TRange target = ParseRange(e, ShownLabel(e, row, r.FirstCol + 1));
        if (e.Err.ErrorFlag || name.empty() || !RangeIsDefined(target)) {
            e.Err.Clear();
            continue;
        }
        if (!SetRangeName(e, name, target))
            return;
    }
}

void TableRangeNames(Engine& e, int topRow, int col)
{
    if (!e.Cur)
        return;
    for (int i = 1; i <= e.Cur->Names.Count; ++i) {
        int row = topRow + i - 1;
        EnterCell(e, "'" + RangeNameAt(e, i), row, col);
        if (e.Err.ErrorFlag)
            return;
        EnterCell(e, TableRangeText(e, RangeOfName(e, i)), row, col + 1);
        if (e.Err.ErrorFlag)
            return;
    }
}

void FreeRangeNames(Engine& e)
{
    if (!e.Cur)
        return;
    TRangeNameTable& t = e.Cur->Names;
    for (int i = 1; i <= t.Count; ++i)
        HeapFree(e, t.Entries[i], kRangeNameRecord);
    t.Entries.fill(0);
    t.Count = 0;
}

}  // namespace zt
