#include "sim/escpos_commands.h"

#include <algorithm>
#include <string_view>

namespace sim {

namespace {

constexpr std::uint8_t NUL = 0x00, DLE = 0x10, DC4 = 0x14, ESC = 0x1B, FS = 0x1C, GS = 0x1D;
constexpr std::size_t kMaxTabStops = 32;
constexpr std::size_t kMaxBarcodeData = 255;

using Span = std::optional<EscPosSpan>;

// A command that is complete once `length` bytes are in.
Span whole(std::size_t n, std::size_t length) {
    if (n < length) return std::nullopt;
    return EscPosSpan{length, true};
}

// A command of `header` bytes followed by `data` bytes of bulk data, told
// as soon as the header is in.
Span bulk(std::size_t header, std::uint64_t data) {
    return EscPosSpan{header + static_cast<std::size_t>(data), true};
}

// A command that ends with a NUL at or after `from`, with at most `most`
// bytes before it; one that has none by then ends after those bytes.
Span untilNul(const std::uint8_t* p, std::size_t n, std::size_t from, std::size_t most) {
    const std::size_t limit = std::min(n, from + most + 1);
    for (std::size_t i = from; i < limit; ++i)
        if (p[i] == NUL) return EscPosSpan{i + 1, true};
    if (n < from + most + 1) return std::nullopt;
    return EscPosSpan{from + most, true};
}

Span unknown(std::size_t length) { return EscPosSpan{length, false}; }

std::uint16_t word(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// ESC & y c1 c2, then for each character c1 ... c2 its width x and y * x bytes.
Span userCharacters(const std::uint8_t* p, std::size_t n) {
    if (n < 5) return std::nullopt;
    const std::size_t y = p[2];
    std::size_t at = 5;
    for (int c = p[3]; c <= p[4]; ++c) {
        if (at >= n) return std::nullopt;
        at += 1 + y * p[at];
    }
    return whole(n, at);
}

// The commands of fixed length, by the byte after their prefix.
struct FixedCommands {
    std::size_t length;
    std::string_view secondBytes;
};
constexpr FixedCommands kEscFixed[] = {
    {2, "@im2LSv<\f"}, {3, " !%-3=?EGJMRTUVadertu{"}, {4, "$\\c"}, {5, "p"}, {10, "W"}};
constexpr FixedCommands kGsFixed[] = {{2, ":"}, {3, "!/BEHITabdfhrw"}, {4, "$LPW\\"}, {5, "^"}};
constexpr FixedCommands kFsFixed[] = {{2, "&."}, {3, "!-CW"}, {4, "pS"}};
constexpr FixedCommands kDleFixed[] = {{3, "\x04\x05"}};

template <std::size_t N>
std::size_t fixedLength(const FixedCommands (&table)[N], std::uint8_t second) {
    for (const FixedCommands& row : table)
        if (row.secondBytes.find(static_cast<char>(second)) != std::string_view::npos)
            return row.length;
    return 0;
}

Span esc(const std::uint8_t* p, std::size_t n) {
    if (std::size_t length = fixedLength(kEscFixed, p[1])) return whole(n, length);
    switch (p[1]) {
        case 'D':  // ESC D n1 ... nk NUL: tab stops
            return untilNul(p, n, 2, kMaxTabStops);
        case '&':
            return userCharacters(p, n);
        case '*': {  // ESC * m nL nH: nL + nH * 256 columns of 1 byte (m 0, 1) or 3
            if (n < 5) return std::nullopt;
            const std::uint64_t columns = word(p + 3);
            return bulk(5, p[2] >= 32 ? 3 * columns : columns);
        }
        case '(':  // ESC ( fn pL pH and pL + pH * 256 bytes
            return n < 5 ? std::nullopt : bulk(5, word(p + 3));
        default:
            return unknown(2);
    }
}

Span gs(const std::uint8_t* p, std::size_t n) {
    if (std::size_t length = fixedLength(kGsFixed, p[1])) return whole(n, length);
    switch (p[1]) {
        case 'V': {  // GS V m, and a feed amount after m 65, 66, 97, 98, 103, 104
            if (n < 3) return std::nullopt;
            constexpr std::string_view kWithFeed = "ABabgh";
            return whole(n, kWithFeed.find(static_cast<char>(p[2])) != kWithFeed.npos ? 4 : 3);
        }
        case 'k':  // GS k m d1 ... NUL (m 0 ... 6) or GS k m k d1 ... dk
            if (n < 3) return std::nullopt;
            if (p[2] <= 6) return untilNul(p, n, 3, kMaxBarcodeData);
            return n < 4 ? std::nullopt : whole(n, 4 + std::size_t{p[3]});
        case 'v':  // GS v 0 m xL xH yL yH: (xL + xH * 256) * (yL + yH * 256) bytes
            if (n < 8) return std::nullopt;
            return bulk(8, std::uint64_t{word(p + 4)} * word(p + 6));
        case '*':  // GS * x y: x * y * 8 bytes
            return n < 4 ? std::nullopt : bulk(4, std::uint64_t{p[2]} * p[3] * 8);
        case '(':  // GS ( fn pL pH and pL + pH * 256 bytes
            return n < 5 ? std::nullopt : bulk(5, word(p + 3));
        case '8': {  // GS 8 L p1 p2 p3 p4 and p1 + p2 * 2^8 + p3 * 2^16 + p4 * 2^24 bytes
            if (n < 7) return std::nullopt;
            return bulk(7, std::uint64_t{word(p + 3)} | std::uint64_t{word(p + 5)} << 16);
        }
        default:
            return unknown(2);
    }
}

Span fs(const std::uint8_t* p, std::size_t n) {
    if (std::size_t length = fixedLength(kFsFixed, p[1])) return whole(n, length);
    return unknown(2);
}

Span dle(const std::uint8_t* p, std::size_t n) {
    if (std::size_t length = fixedLength(kDleFixed, p[1])) return whole(n, length);
    if (p[1] != DC4) return unknown(2);
    // DLE DC4 fn and the function's fixed parameters.
    if (n < 3) return std::nullopt;
    switch (p[2]) {
        case 1:
        case 2:
            return whole(n, 5);
        case 7:
            return whole(n, 4);
        case 8:
            return whole(n, 10);
        default:
            return unknown(3);
    }
}

}  // namespace

std::optional<EscPosSpan> measureCommand(const std::uint8_t* p, std::size_t n) {
    const std::uint8_t b = p[0];
    if (b != ESC && b != GS && b != FS && b != DLE) return EscPosSpan{};
    if (n < 2) return std::nullopt;
    switch (b) {
        case ESC:
            return esc(p, n);
        case GS:
            return gs(p, n);
        case FS:
            return fs(p, n);
        default:
            return dle(p, n);
    }
}

}  // namespace sim
