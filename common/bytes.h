#pragma once
// Byte strings and little-endian readers and writers. Every number that
// crosses the host line, a file or the EEPROM is little-endian and unaligned,
// so records are always encoded byte by byte, never by casting structs.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

namespace le {

inline std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t u64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(u32(p)) | (static_cast<std::uint64_t>(u32(p + 4)) << 32);
}

inline void store16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void store32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void store64(std::uint8_t* p, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void put8(Bytes& out, std::uint8_t v) { out.push_back(v); }
inline void put16(Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void put64(Bytes& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void putBytes(Bytes& out, const std::uint8_t* p, std::size_t n) {
    out.insert(out.end(), p, p + n);
}
inline void putBytes(Bytes& out, const Bytes& b) { out.insert(out.end(), b.begin(), b.end()); }
inline void putText(Bytes& out, std::string_view s) { out.insert(out.end(), s.begin(), s.end()); }

// Sequential reader over a byte range that never reads past its end: a read
// beyond the end sets the failed flag and yields zero.
class Reader {
public:
    Reader(const std::uint8_t* p, std::size_t n) : p_(p), n_(n) {}
    explicit Reader(const Bytes& b) : Reader(b.data(), b.size()) {}

    std::uint8_t u8() { return take(1) ? p_[pos_ - 1] : 0; }
    std::uint16_t u16() { return take(2) ? le::u16(p_ + pos_ - 2) : 0; }
    std::uint32_t u32() { return take(4) ? le::u32(p_ + pos_ - 4) : 0; }
    std::uint64_t u64() { return take(8) ? le::u64(p_ + pos_ - 8) : 0; }
    Bytes bytes(std::size_t n) {
        if (!take(n)) return {};
        return Bytes(p_ + pos_ - n, p_ + pos_);
    }
    Bytes rest() { return bytes(remaining()); }

    std::size_t remaining() const { return n_ - pos_; }
    std::size_t position() const { return pos_; }
    bool failed() const { return failed_; }

private:
    bool take(std::size_t n) {
        if (n > n_ - pos_) {
            failed_ = true;
            pos_ = n_;
            return false;
        }
        pos_ += n;
        return true;
    }
    const std::uint8_t* p_;
    std::size_t n_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace le

// Upper-case hexadecimal, two digits a byte, no separators.
std::string hexUpper(const std::uint8_t* p, std::size_t n);
inline std::string hexUpper(const Bytes& b) { return hexUpper(b.data(), b.size()); }

// Parses hexadecimal text, ignoring spaces; false on an odd digit count or a
// character that is not a hexadecimal digit.
bool parseHex(std::string_view text, Bytes& out);

inline Bytes toBytes(std::string_view s) { return Bytes(s.begin(), s.end()); }
inline std::string toString(const Bytes& b) { return std::string(b.begin(), b.end()); }
