#pragma once
// Helpers of the worksheet file tests: an engine with one worksheet, and
// hand-built records.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/cell_store.h"
#include "files/worksheet_file.h"
#include "formula/formula_engine.h"

namespace zt {

using Bytes = std::vector<std::uint8_t>;

class WksEngine {
public:
    WksEngine() : e(256)
    {
        InstallFormulaEngine(e);
        RestoreContext(e, OpenSheet(e, "T"));
    }
    Engine e;
};

inline void Put16(Bytes& b, std::uint16_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void PutDouble(Bytes& b, double d)
{
    std::uint8_t raw[8];
    std::memcpy(raw, &d, 8);
    b.insert(b.end(), raw, raw + 8);
}

// One record: type, the body's length, the body.
inline Bytes Record(std::uint16_t type, const Bytes& body)
{
    Bytes r;
    Put16(r, type);
    Put16(r, static_cast<std::uint16_t>(body.size()));
    r.insert(r.end(), body.begin(), body.end());
    return r;
}

inline Bytes CellHeader(std::uint8_t format, std::uint16_t col, std::uint16_t row)
{
    Bytes b{format};
    Put16(b, col);
    Put16(b, row);
    return b;
}

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

inline Bytes Bof() { return Record(0x0000, {0x04, 0x04}); }
inline Bytes Eof() { return Record(0x0001, {}); }

// Where the record of this type first appears in the bytes, walking record
// by record through the main section; npos when absent.
inline std::size_t FindRecord(const Bytes& b, std::uint16_t type, std::size_t from = 0)
{
    std::size_t pos = from;
    while (pos + 4 <= b.size()) {
        std::uint16_t t = static_cast<std::uint16_t>(b[pos] | (b[pos + 1] << 8));
        std::uint16_t n = static_cast<std::uint16_t>(b[pos + 2] | (b[pos + 3] << 8));
        if (t == type)
            return pos;
        if (t == 0x0001)
            return std::string::npos;
        pos += 4 + n;
    }
    return std::string::npos;
}

// The start of the extension section: after the main end record and its two marker bytes.
inline std::size_t ExtensionStart(const Bytes& b)
{
    std::size_t eof = FindRecord(b, 0x0001);
    return eof == std::string::npos ? eof : eof + 4 + 2;
}

}  // namespace zt
