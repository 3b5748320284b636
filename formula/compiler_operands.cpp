#include "formula/compiler_operands.h"

#include <bit>
#include <cmath>
#include <filesystem>
#include <string>

#include "core/address.h"
#include "core/cell_entry.h"
#include "core/cell_store.h"
#include "core/range_names.h"
#include "formula/opcodes.h"
#include "formula/user_functions.h"

namespace zt::compile {

namespace {

constexpr int kMaxCountByte = 255;
constexpr std::size_t kPlaceholderSize = 8;

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// What a called name stands for.
enum class CalleeKind { Undefined, Builtin, User, RangeFunction };

struct Callee {
    CalleeKind Kind = CalleeKind::Undefined;
    std::uint8_t Opcode = 0;
    int NameEntry = 0;  // range-name entry, or the user function's table index
};

// Names are looked up first among the built-in operators and @ functions,
// then among the user functions (which may copy a library definition into
// the worksheet's table), then among the worksheet's range names (with or
// without a leading '$').
Callee ResolveFunction(Engine& e, std::string_view name)
{
    for (int op = opNeg; op <= kHighestFunction; ++op) {
        std::string_view known = OpName(static_cast<std::uint8_t>(op));
        // Unassigned opcodes have no name and must not match an empty one.
        if (!known.empty() && known == name)
            return {CalleeKind::Builtin, static_cast<std::uint8_t>(op), 0};
    }
    if (int index = FindUserFunction(e, name); index > 0)
        return {CalleeKind::User, opUserFunction, index};
    if (name.starts_with('$'))
        name.remove_prefix(1);
    if (int entry = FindRangeName(e, name); entry > 0)
        return {CalleeKind::RangeFunction, 0, entry};
    return {};
}

// One cell link: the target cell is created when missing; once the
// compilation has failed the link is 0.
void EmitReference(CompilerState& st, int row, int col, bool absCol, bool absRow)
{
    TCellLink link = 0;
    if (!st.Failed()) {
        PCell cell = FindOrCreateCell(st.E, row, col);
        if (!cell)
            st.Fail();
        link = MakeLink(st.E, cell, absCol, absRow);
    }
    st.EmitLittleEndian(link, 4);
}

// A cell or a range; a range stores the corner written after ".." first.
void EmitRange(CompilerState& st, const TRange& r, const AbsFlags& abs)
{
    if (!RangeIsBlock(r)) {
        st.Emit(opCellRef);
        EmitReference(st, r.FirstRow, r.FirstCol, abs.FirstCol, abs.FirstRow);
        return;
    }
    st.Emit(opRangeRef);
    EmitReference(st, r.LastRow, r.LastCol, abs.LastCol, abs.LastRow);
    EmitReference(st, r.FirstRow, r.FirstCol, abs.FirstCol, abs.FirstRow);
}

// The range of another worksheet file goes into the placeholder its file
// name left; no cell of this worksheet is involved.
void FillExternalRange(CompilerState& st, const TRange& r)
{
    if (!ValidCoord(r.FirstRow, r.FirstCol) || !ValidCoord(r.LastRow, r.LastCol)) {
        st.Fail();
        return;
    }
    std::uint8_t* at = st.Out.data() + st.PendingExternal;
    for (std::int16_t v : {r.FirstCol, r.FirstRow, r.LastCol, r.LastRow}) {
        auto w = static_cast<std::uint16_t>(v);
        *at++ = static_cast<std::uint8_t>(w);
        *at++ = static_cast<std::uint8_t>(w >> 8);
    }
    st.PendingExternal = 0;
}

void EmitRangeText(CompilerState& st, std::string_view token)
{
    AbsFlags abs;
    TRange r = ParseRange(st.E, token, &abs);
    if (st.Failed())
        return;
    if (st.PendingExternal)
        FillExternalRange(st, r);
    else
        EmitRange(st, r, abs);
}

// Bytes ended by a 0 byte; a 0 inside them could not be told from the end.
void EmitZeroTerminated(CompilerState& st, std::string_view bytes)
{
    if (bytes.find('\0') != std::string_view::npos) {
        st.Fail();
        return;
    }
    for (char c : bytes)
        st.Emit(static_cast<std::uint8_t>(c));
    st.Emit(0);
}

// The token without its first and last character (the quotes or brackets).
std::string_view Inner(std::string_view token)
{
    return token.size() >= 2 ? token.substr(1, token.size() - 2) : std::string_view();
}

void EmitString(CompilerState& st, std::string_view token)
{
    st.Emit(opString);
    EmitZeroTerminated(st, Inner(token));
}

// "[path]": the path keeps its case; a relative one is taken from the
// current directory. The range follows as the next operand.
void EmitExternal(CompilerState& st, std::string_view token)
{
    std::string path(Inner(token));
    if (!path.starts_with('/')) {
        std::error_code ec;
        std::filesystem::path cwd = std::filesystem::current_path(ec);
        if (ec) {
            st.Fail();
            return;
        }
        path = (cwd / path).string();
    }
    st.Emit(opExternalRef);
    int placeholder = st.Pos;
    for (std::size_t i = 0; i < kPlaceholderSize; ++i)
        st.Emit('X');
    EmitZeroTerminated(st, path);
    if (!st.Failed())
        st.PendingExternal = placeholder;
}

void EmitNumber(CompilerState& st, std::string_view token)
{
    double v = 0;
    if (!ParseEntryNumber(token, st.E.Settings().Period, v) || !std::isfinite(v)) {
        st.Fail();
        return;
    }
    if (std::fabs(v) < 32767 && v == std::nearbyint(v)) {
        st.Emit(opInteger);
        st.EmitLittleEndian(static_cast<std::uint16_t>(static_cast<std::int16_t>(v)), 2);
    } else {
        st.Emit(opNumber);
        st.EmitLittleEndian(std::bit_cast<std::uint64_t>(v), 8);
    }
}

void EmitBuiltinCall(CompilerState& st, NameMode mode, std::uint8_t op, int& balance)
{
    st.Emit(op);
    int count = OpClass(op) - acArgs0;
    if (mode == NameMode::Plain) {
        // Only functions without arguments may be written without parentheses.
        if (count != 0)
            st.Fail();
        return;
    }
    // The argument list adds one value for its first argument and one for
    // each separator; a list function takes whatever the level holds.
    ++balance;
    if (OpClass(op) == acList) {
        count = balance;
        if (count < 1 || count > kMaxCountByte) {
            st.Fail();
            return;
        }
        st.Emit(static_cast<std::uint8_t>(count));
    }
    balance -= count;
}

// A text-defined function: 254 and its index in the worksheet's table. Its
// arguments are settled like those of a built-in function with the
// definition's parameter count.
void EmitUserCall(CompilerState& st, NameMode mode, int index, int& balance)
{
    st.Emit(opUserFunction);
    st.Emit(static_cast<std::uint8_t>(index));
    int count = UserFunctionArity(st.E, index);
    if (mode == NameMode::Plain) {
        if (count != 0)
            st.Fail();
        return;
    }
    balance += 1 - count;
}

// A function defined by a named range takes one argument per column of
// the range; it is written as 255 followed by the range, absolute.
void EmitRangeFunction(CompilerState& st, NameMode mode, int entry, int& balance)
{
    if (mode == NameMode::Plain) {
        st.Fail();
        return;
    }
    TRange r = RangeOfName(st.E, entry);
    st.Emit(opRangeFunction);
    EmitRange(st, r, AbsFlags{true, true, true, true});
    balance -= r.LastCol - r.FirstCol;
}

}  // namespace

void EmitName(CompilerState& st, NameMode mode, std::string_view token, int& balance)
{
    if (!token.starts_with('@')) {
        EmitOperand(st, token);
        return;
    }
    Callee f = ResolveFunction(st.E, UpperCase(token.substr(1)));
    switch (f.Kind) {
    case CalleeKind::Builtin: EmitBuiltinCall(st, mode, f.Opcode, balance); break;
    case CalleeKind::User: EmitUserCall(st, mode, f.NameEntry, balance); break;
    case CalleeKind::RangeFunction: EmitRangeFunction(st, mode, f.NameEntry, balance); break;
    case CalleeKind::Undefined: st.Fail(); break;
    }
}

void EmitOperand(CompilerState& st, std::string_view token)
{
    std::uint8_t postfix = 0;
    if (token.ends_with('%') || token.ends_with('!')) {
        postfix = token.back() == '%' ? opPercent : opFactorial;
        token.remove_suffix(1);
    }
    char first = token.empty() ? '\0' : token.front();
    if (IsLetter(first) || first == '$')
        EmitRangeText(st, token);
    else if (first == '"')
        EmitString(st, token);
    else if (first == '[')
        EmitExternal(st, token);
    else
        EmitNumber(st, token);
    if (postfix)
        st.Emit(postfix);
}

}  // namespace zt::compile
