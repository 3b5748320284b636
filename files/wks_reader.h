#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/engine.h"
#include "files/wks_bytes.h"
#include "files/worksheet_file.h"

namespace zt {

inline constexpr std::string_view kInvalidFile = "Invalid WKS File!";
inline constexpr std::string_view kTruncated = "File may be truncated";
inline constexpr std::string_view kLowMemory = "Out of Memory/File may be truncated";
inline constexpr std::string_view kDamaged = "File may be damaged";

inline constexpr std::size_t kMaxSheetTabs = 256;

// One record as read: its type split into the colour byte and the type.
struct WksRecord {
    std::uint16_t Type = 0;
    std::uint8_t Color = 0;  // high byte of a cell record's type word
    std::span<const std::uint8_t> Body;
    std::size_t At = 0;  // where the body starts in the file
};

// The state of one reading of a worksheet file.
class WksReader {
public:
    WksReader(Engine& e, std::span<const std::uint8_t> bytes, const ReadOptions& options);
    ReadResult Run();

private:
    // Next record of the file; false at the end of the bytes (Truncated is
    // set when they end inside the record).
    bool NextRecord(WksRecord& rec);
    bool MainRecord(const WksRecord& rec);  // false ends the main loop
    void SettingsRecord(const WksRecord& rec);
    void NameRecord(const WksRecord& rec);
    void CellRecord(const WksRecord& rec);
    void StoreCell(const WksRecord& rec, std::uint8_t format, int row, int col, ByteReader& body);
    void StoreLinkValue(const WksRecord& rec, int row, int col, ByteReader& body);
    void GraphRecord(const WksRecord& rec, bool named);
    void ExtensionSection();
    void ExtensionRecord(const WksRecord& rec);
    void ViewRecord(ByteReader& body, std::size_t size);
    void ButtonRecord(ByteReader& body);
    void UserFunctionRecord(ByteReader& body);
    void FontNameRecord(ByteReader& body);
    void CellAttrRecord(ByteReader& body);
    // The range with the merge offsets added; undefined when it was, or
    // when any corner falls outside the worksheet.
    TRange CheckedRange(TRange r, bool addOffsets = true) const;
    void Fail(std::string_view message);
    void SetSourceBounds();
    void MarkTruncated();
    // A record that does not fit its type or its place is left out and
    // counted; the file is then reported as damaged.
    void Skip() { ++result_.Skipped; }
    // Whether a body has the size its type needs; a short one is skipped.
    bool Fits(std::size_t size, std::size_t need);
    // Whether an end record closes the main section: the file ends there or
    // the section marker follows.
    bool EndsMainSection() const { return in_.Peek() < 0 || in_.Peek() == 0x1A; }
    // Counts the records of whatever follows the last section as skipped.
    void SkipTrailingBytes();

    Engine& e_;
    std::span<const std::uint8_t> bytes_;
    ByteReader in_;
    ReadOptions opt_;
    ReadResult result_;
    bool merge_ = false;
    bool valuesOnly_ = false;
    bool link_ = false;
    bool stop_ = false;
    TRange bounds_{0, 0, kCols - 1, kRows - 1};
    std::string sourceName_;
    int rowOffset_ = 0;
    int colOffset_ = 0;
    std::array<std::uint8_t, kCols> mainWidths_;
    bool sawColWidth_ = false;
    std::array<std::uint8_t, 256> typefaceMap_;
    std::size_t extGraphs_ = 0;
    bool sawTab_ = false;
    bool sawEnd_ = false;  // the end record of the section being read
};

// Zero for infinities and NaNs (the error marker among them); every finite
// value unchanged, bit for bit.
double NormaliseFileValue(std::uint64_t bits);

}  // namespace zt
