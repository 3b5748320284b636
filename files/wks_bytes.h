#pragma once
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/range.h"

namespace zt {

// Appends little-endian fields to a byte buffer.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void U8(std::uint8_t v) { out_.push_back(v); }
    void U16(std::uint16_t v)
    {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
    void U32(std::uint32_t v)
    {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void Double(double d)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        U32(static_cast<std::uint32_t>(bits));
        U32(static_cast<std::uint32_t>(bits >> 32));
    }
    void Bytes(const void* p, std::size_t n)
    {
        const auto* b = static_cast<const std::uint8_t*>(p);
        out_.insert(out_.end(), b, b + n);
    }
    void Fill(std::uint8_t v, std::size_t n) { out_.insert(out_.end(), n, v); }
    void Range(const TRange& r)
    {
        I16(r.FirstCol);
        I16(r.FirstRow);
        I16(r.LastCol);
        I16(r.LastRow);
    }
    // The characters (at most `limit`) and a 0 byte.
    void ZText(std::string_view s, std::size_t limit)
    {
        s = s.substr(0, limit);
        Bytes(s.data(), s.size());
        U8(0);
    }
    // A length byte, the characters (at most `capacity`), zero padding to capacity.
    void ShortString(std::string_view s, std::size_t capacity)
    {
        s = s.substr(0, capacity);
        U8(static_cast<std::uint8_t>(s.size()));
        Bytes(s.data(), s.size());
        Fill(0, capacity - s.size());
    }

    // Starts a record; EndRecord fills in its body length.
    void BeginRecord(std::uint16_t type)
    {
        U16(type);
        lengthAt_ = out_.size();
        U16(0);
    }
    void EndRecord()
    {
        std::size_t n = out_.size() - lengthAt_ - 2;
        out_[lengthAt_] = static_cast<std::uint8_t>(n);
        out_[lengthAt_ + 1] = static_cast<std::uint8_t>(n >> 8);
    }

private:
    std::vector<std::uint8_t>& out_;
    std::size_t lengthAt_ = 0;
};

// Reads little-endian fields from a byte span. Reading past the end gives
// zeros and sets Failed, so callers check once after a group of fields.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Left() const { return bytes_.size() - pos_; }
    std::size_t Pos() const { return pos_; }
    // The next byte without taking it; -1 at the end.
    int Peek() const { return pos_ < bytes_.size() ? bytes_[pos_] : -1; }
    bool Failed() const { return failed_; }

    std::uint8_t U8()
    {
        if (pos_ >= bytes_.size()) {
            failed_ = true;
            return 0;
        }
        return bytes_[pos_++];
    }
    std::uint16_t U16()
    {
        std::uint16_t lo = U8();
        return static_cast<std::uint16_t>(lo | (U8() << 8));
    }
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::uint32_t U32()
    {
        std::uint32_t lo = U16();
        return lo | (static_cast<std::uint32_t>(U16()) << 16);
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    std::uint64_t U64()
    {
        std::uint64_t lo = U32();
        return lo | (static_cast<std::uint64_t>(U32()) << 32);
    }
    double Double()
    {
        std::uint64_t bits = U64();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    TRange Range()
    {
        TRange r;
        r.FirstCol = I16();
        r.FirstRow = I16();
        r.LastCol = I16();
        r.LastRow = I16();
        return r;
    }
    // n bytes as they are; fewer when the span ends first (Failed is set).
    std::span<const std::uint8_t> Take(std::size_t n)
    {
        if (n > Left()) {
            failed_ = true;
            n = Left();
        }
        auto s = bytes_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    void Skip(std::size_t n) { Take(n); }
    // Goes back or on to an offset from the start; false beyond the end.
    bool Seek(std::size_t pos)
    {
        if (pos > bytes_.size())
            return false;
        pos_ = pos;
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

// Text of a field up to its first 0 byte, at most `limit` characters.
inline std::string TextUpToZero(std::span<const std::uint8_t> field, std::size_t limit)
{
    std::size_t n = 0;
    while (n < field.size() && n < limit && field[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(field.data()), n);
}

// A short string held in a fixed field: its length byte is trusted only up
// to the field's capacity.
inline std::string ShortStringField(std::span<const std::uint8_t> field)
{
    if (field.empty())
        return {};
    std::size_t n = std::min<std::size_t>(field[0], field.size() - 1);
    return std::string(reinterpret_cast<const char*>(field.data()) + 1, n);
}

}  // namespace zt
