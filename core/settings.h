#pragma once
#include <cstdint>
#include <string>

namespace zt {

// The per-worksheet settings: flags, characters and colours. A new
// worksheet copies the defaults record; the settings travel with it.
struct WorksheetSettings {
    bool Protect = false;       // PRO=
    bool NegColor = false;      // NEG=
    bool ZeroSuppress = false;  // ZERO=
    bool Band = true;           // BAND=
    bool ManualCalc = false;    // MCALC=
    bool ThreeD = false;        // 3DON=
    bool DistLow = true;        // DIST=
    bool UsDate = true;         // USDATE=
    bool Undo = true;           // UNDO=
    char Prefix = '\'';         // PREFIX=
    std::string CurrPrefix = "$";  // CURR=
    std::string CurrSuffix = " ";  // CURS=
    char Sep = ',';             // SEP=
    char Comma = ',';           // COMMA=
    char Period = '.';          // PERIOD=
    std::uint32_t BackColor = 0x00FFFFFF;    // BKCLR=
    std::uint32_t BandColor = 0x00E0FFFF;    // BDCLR=
    std::uint32_t ValueColor = 0x41FFFFFF;   // VALCLR=
    std::uint32_t NegValueColor = 0x4CFFFFFF;  // NEGCLR=
    std::uint32_t LabelColor = 0x42FFFFFF;   // LBLCLR=
    std::uint32_t UnlockedColor = 0x07800000;  // PROCLR=
    std::uint32_t CursorColor = 0x0FFF0000;  // CURCLR=
    std::uint8_t DefaultFormat = 0x71;       // General
    int RowsPerSheet = 8192;
};

}  // namespace zt
