// The macro file commands: six slots of text files that stay open across
// macros, and the folders. They report nothing; each records its outcome
// for @IORESULT (0 when it went well).
#include <cerrno>
#include <filesystem>

#include "formula/format_number.h"
#include "formula/io_result.h"
#include "macro/macro_codes.h"
#include "macro/macro_interpreter.h"
#include "platform/codepage.h"

namespace zt {

namespace {

constexpr int kBadFileNumber = EBADF;
constexpr int kNotOpen = EBADF;

std::string PathOf(const std::string& name) { return Utf8FromCp1252(name); }

}  // namespace

// A name or text argument: the string value, the number's text, or the
// argument as written when it did not evaluate.
std::string MacroInterpreter::ReadTextValue()
{
    MacroValue v = ReadValueArgument();
    return v.IsString || v.Failed ? v.Text : FormatNumber(v.Number, e_.Settings().Period);
}

void MacroInterpreter::FileCommand(char which)
{
    int result = 0;
    auto slotOf = [&](std::int32_t n) -> std::shared_ptr<std::fstream>* {
        if (n < 0 || n >= kMacroFileSlots) {
            result = kBadFileNumber;
            return nullptr;
        }
        return &s_.MacroFiles[std::size_t(n)];
    };
    const bool allowed = host_.AllowFileAccess();
    auto open = [&](std::shared_ptr<std::fstream>* slot, const std::string& name, std::ios::openmode mode) {
        if (!slot)
            return;
        if (!allowed) {
            result = EACCES;
            return;
        }
        slot->reset();
        auto file = std::make_shared<std::fstream>(PathOf(name), mode);
        if (!file->is_open())
            result = errno ? errno : ENOENT;
        else
            *slot = std::move(file);
    };
    auto write = [&](std::shared_ptr<std::fstream>* slot, const std::string& text) {
        if (!slot)
            return;
        if (!*slot) {
            result = kNotOpen;
            return;
        }
        **slot << text;
        (*slot)->flush();
        if (!**slot)
            result = EIO;
    };
    errno = 0;
    switch (which) {
    case 'O': {
        std::int32_t n = ReadIntegerArgument();
        std::int32_t mode = ReadIntegerArgument();
        std::string name = ReadTextValue();
        std::ios::openmode how = mode == 1 ? std::ios::in : mode == 3 ? std::ios::out | std::ios::app
                                                                       : std::ios::out | std::ios::trunc;
        open(slotOf(n), name, how | std::ios::binary);
        break;
    }
    case 'A': {
        std::int32_t n = ReadIntegerArgument();
        open(slotOf(n), ReadTextValue(), std::ios::out | std::ios::app | std::ios::binary);
        break;
    }
    case 'C':
        if (auto* slot = slotOf(ReadIntegerArgument())) {
            if (!*slot)
                result = kNotOpen;
            slot->reset();
        }
        break;
    case 'W':
    case 'F': {
        auto* slot = slotOf(ReadIntegerArgument());
        std::string text = ReadTextValue();
        write(slot, which == 'F' ? text + "\r\n" : text);
        break;
    }
    case 'H':
    case 'M':
    case 'D': {
        std::string path = ReadTextValue();
        if (path.empty())
            break;
        if (!allowed) {
            result = EACCES;
            break;
        }
        std::error_code ec;
        if (which == 'H')
            std::filesystem::current_path(PathOf(path), ec);
        else if (which == 'M')
            std::filesystem::create_directory(PathOf(path), ec);
        else if (!std::filesystem::is_directory(PathOf(path), ec))
            ec = std::make_error_code(std::errc::not_a_directory);
        else
            std::filesystem::remove(PathOf(path), ec);
        result = ec.value();
        break;
    }
    default:
        NotAvailable(std::string{kMacroCommandMarker, kMacroFilePrefix, which});
        return;
    }
    if (!s_.MacroRunning)
        return;
    s_.MacroIOResult = result;
    SetIoResult(result);
}

}  // namespace zt
