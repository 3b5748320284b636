#pragma once
#include <cstdint>

namespace zt {

// Record types of the main section.
inline constexpr std::uint16_t WKS_BOF = 0x0000;
inline constexpr std::uint16_t WKS_EOF = 0x0001;
inline constexpr std::uint16_t WKS_CALCMODE = 0x0002;
inline constexpr std::uint16_t WKS_CALCORDER = 0x0003;
inline constexpr std::uint16_t WKS_SPLIT = 0x0004;
inline constexpr std::uint16_t WKS_SYNC = 0x0005;
inline constexpr std::uint16_t WKS_RANGE = 0x0006;
inline constexpr std::uint16_t WKS_WINDOW1 = 0x0007;
inline constexpr std::uint16_t WKS_COLW1 = 0x0008;
inline constexpr std::uint16_t WKS_WINDOW2 = 0x0009;
inline constexpr std::uint16_t WKS_NAME = 0x000B;
inline constexpr std::uint16_t WKS_BLANK = 0x000C;
inline constexpr std::uint16_t WKS_INTEGER = 0x000D;
inline constexpr std::uint16_t WKS_NUMBER = 0x000E;
inline constexpr std::uint16_t WKS_LABEL = 0x000F;
inline constexpr std::uint16_t WKS_FORMULA = 0x0010;
inline constexpr std::uint16_t WKS_TABLE = 0x0018;
inline constexpr std::uint16_t WKS_QUERY = 0x0019;
inline constexpr std::uint16_t WKS_PRANGE = 0x001A;
inline constexpr std::uint16_t WKS_SRANGE = 0x001B;
inline constexpr std::uint16_t WKS_KRANGE = 0x001D;
inline constexpr std::uint16_t WKS_KRANGE2 = 0x0023;
inline constexpr std::uint16_t WKS_PROTEC = 0x0024;
inline constexpr std::uint16_t WKS_FOOTER = 0x0025;
inline constexpr std::uint16_t WKS_HEADER = 0x0026;
inline constexpr std::uint16_t WKS_SETUP = 0x0027;
inline constexpr std::uint16_t WKS_MARGINS = 0x0028;
inline constexpr std::uint16_t WKS_LABELFMT = 0x0029;
inline constexpr std::uint16_t WKS_TITLES = 0x002A;
inline constexpr std::uint16_t WKS_GRAPH = 0x002D;
inline constexpr std::uint16_t WKS_NGRAPH = 0x002E;
inline constexpr std::uint16_t WKS_CURSORW12 = 0x0031;
inline constexpr std::uint16_t WKS_STRING = 0x0033;
inline constexpr std::uint16_t WKS_NNAME = 0x0047;

// Record types of the extension section.
inline constexpr std::uint16_t X_WINNUM = 0x0007;
inline constexpr std::uint16_t X_CELLATTR = 0x0008;
inline constexpr std::uint16_t X_ROWHEIGHT = 0x000A;
inline constexpr std::uint16_t X_COLWIDTH = 0x000B;
inline constexpr std::uint16_t X_SORTKEYS = 0x001D;
inline constexpr std::uint16_t X_GRAPH = 0x002D;
inline constexpr std::uint16_t X_NGRAPH = 0x002E;
inline constexpr std::uint16_t X_BUTTON = 0x0050;
inline constexpr std::uint16_t X_REGRESS = 0x0067;
inline constexpr std::uint16_t X_USERFN = 0x0069;
inline constexpr std::uint16_t X_COLORS = 0x006E;
inline constexpr std::uint16_t X_PAGE = 0x0070;
inline constexpr std::uint16_t X_SHEETTAB = 0x0072;
inline constexpr std::uint16_t X_FONTNAME = 0x0074;
inline constexpr std::uint16_t X_SHEETFONT = 0x0076;
inline constexpr std::uint16_t X_VIEW = 0x0078;
inline constexpr std::uint16_t X_TITLE = 0x007A;
inline constexpr std::uint16_t X_COMMENT = 0x007C;
inline constexpr std::uint16_t X_REVISEDBY = 0x007E;
inline constexpr std::uint16_t X_CREATED = 0x0080;

// Sizes fixed by the layout.
inline constexpr int kWindowRecordSize = 31;
inline constexpr int kButtonRecordSize = 297;
inline constexpr int kUserFnRecordSize = 274;
inline constexpr int kViewRecordSize = 34;
inline constexpr int kViewRecordShortSize = 26;
inline constexpr int kNameFieldSize = 16;
inline constexpr int kCellHeaderSize = 5;
// Labels, strings and formulas of this body length or more are not read.
inline constexpr int kMaxReadCellRecord = 240;

// The value bytes of a formula in error.
inline constexpr std::uint64_t kErrorValueBits = 0x7FF0000000000000ull;

inline constexpr std::uint32_t kDefaultCellColors = 0xC0000000u;

}  // namespace zt
