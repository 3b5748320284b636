#include "files/formula_file_code.h"

#include "core/cell_store.h"
#include "formula/compiled_formula.h"
#include "formula/opcodes.h"

namespace zt {

namespace {

constexpr std::uint8_t kOpErr = 32;

bool OpcodeExists(std::uint8_t op)
{
    return op <= opExternalRef || op == opUserFunction || op == opRangeFunction || !OpName(op).empty();
}

}  // namespace

std::vector<std::uint8_t> FileCodeOf(const Engine& e, const TCell& cell)
{
    const std::uint8_t* code = CodeOf(e, &cell);
    if (!code || !IsWellFormed(code))
        return {opEnd};
    std::vector<std::uint8_t> copy(code, code + code[0] + 1);
    if (!(cell.Kind & kfUnlinked))
        UnlinkFormula(e, copy.data(), cell.Row, cell.Col);
    return std::vector<std::uint8_t>(copy.begin() + 2, copy.end());
}

std::string CodeFromFile(std::span<const std::uint8_t> fileCode)
{
    std::size_t n = fileCode.size();
    if (n >= 2 && fileCode[n - 2] == opEnd && fileCode[n - 1] == 0)
        --n;
    std::string code;
    code.push_back(static_cast<char>(n + 1));
    code.push_back(0);
    code.append(reinterpret_cast<const char*>(fileCode.data()), n);
    return code;
}

bool FileCodeIsValid(const Engine& e, const std::uint8_t* code)
{
    if (!IsWellFormed(code) || code[1] != 0)
        return false;
    const int L = code[0];
    int pos = 2;
    while (pos < L) {
        std::uint8_t op = code[pos];
        if (op == opEnd || !OpcodeExists(op))
            return false;
        if (op == opRangeFunction && RangeFunctionOperandSize(code, pos) < 0)
            return false;
        int size = OperandSize(code, pos);
        if (size < 0)
            return false;
        if ((op == opString || op == opExternalRef) && code[pos + size] != 0)
            return false;
        if (op == opUserFunction) {
            int index = code[pos + 1];
            if (index < 1 || index > static_cast<int>(e.Cur->UserFunctions.size()))
                return false;
        }
        pos += 1 + size;
    }
    return pos == L;
}

void MarkDamagedFormula(Engine& e, PCell cell)
{
    if (BaseKind(cell->Kind) == ckStrFormula && ReadStrResult(*cell)) {
        HeapAddr s = ReadStrResult(*cell);
        FreeText(e, s);
    }
    ZeroValue(*cell);
    const char code[] = {3, 0, static_cast<char>(kOpErr), static_cast<char>(opEnd)};
    FreeText(e, cell->Text);
    cell->Text = SetText(e, 0, std::string_view(code + 1, 3));
    cell->Kind = cell->Text ? static_cast<std::uint8_t>(ckFormula | kfError) : static_cast<std::uint8_t>(ckBlank);
}

}  // namespace zt
