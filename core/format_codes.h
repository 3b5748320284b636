#pragma once
#include <cstdint>

namespace zt {

// Display format codes of type 7 (the low seven bits of TCell::Format).
inline constexpr std::uint8_t kFormatPlusMinus = 0x70;
inline constexpr std::uint8_t kFormatGeneral = 0x71;
inline constexpr std::uint8_t kFormatD1 = 0x72;
inline constexpr std::uint8_t kFormatD2 = 0x73;
inline constexpr std::uint8_t kFormatD3 = 0x74;
inline constexpr std::uint8_t kFormatText = 0x75;
inline constexpr std::uint8_t kFormatHidden = 0x76;
inline constexpr std::uint8_t kFormatT1 = 0x77;
inline constexpr std::uint8_t kFormatT2 = 0x78;
inline constexpr std::uint8_t kFormatD4 = 0x79;
inline constexpr std::uint8_t kFormatD5 = 0x7A;
inline constexpr std::uint8_t kFormatT3 = 0x7B;
inline constexpr std::uint8_t kFormatT4 = 0x7C;
inline constexpr std::uint8_t kFormatLabel = 0x7E;

}  // namespace zt
