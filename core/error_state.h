#pragma once
#include <string>
#include <string_view>

namespace zt {

// The program-wide error convention: an operation that fails sets the flag
// (and a text where it has words) and returns; callers test and report.
struct ErrorState {
    bool ErrorFlag = false;
    std::string ErrorText;
    bool OutOfMemory = false;

    void Set(std::string_view text)
    {
        ErrorFlag = true;
        ErrorText = text;
    }
    void Clear()
    {
        ErrorFlag = false;
        ErrorText.clear();
    }
};

inline constexpr std::string_view kOutOfRange = "Out of Range";
inline constexpr std::string_view kOutOfMemory = "Out of Memory";
inline constexpr std::string_view kProtectedCell = "Protected Cell";
inline constexpr std::string_view kFormulaTooLong = "Formula Too Long";
inline constexpr std::string_view kInvalidCharacter = "Invalid Character";

}  // namespace zt
