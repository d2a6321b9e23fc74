#include "common/cp866.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/temp_board.h"

namespace {

// The whole code page through the system's iconv, to compare with our table.
std::string iconvCp866ToUtf8(const std::string& cp866Bytes) {
    const std::string dir = testing_support::makeTempDir("okta-cp866-");
    const std::string in = dir + "/in.bin";
    std::ofstream(in, std::ios::binary) << cp866Bytes;
    std::string out;
    FILE* p = ::popen(("iconv -f CP866 -t UTF-8 " + in).c_str(), "r");
    if (!p) return out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    ::pclose(p);
    return out;
}

}  // namespace

TEST(Cp866, WholeCodePageMatchesIconvBothWays) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string expected = iconvCp866ToUtf8(all);
    if (expected.empty()) GTEST_SKIP() << "iconv is not available here";
    EXPECT_EQ(cp866::toUtf8(all), expected);
    EXPECT_EQ(cp866::fromUtf8(expected), all);
}

TEST(Cp866, RussianTextAndCharactersOutsideTheCodePage) {
    EXPECT_EQ(cp866::fromUtf8("ОКТА-80-Ф"), "\x8E\x8A\x92\x80-80-\x94");
    EXPECT_EQ(cp866::fromUtf8("ЦТО"), "\x96\x92\x8E");
    EXPECT_EQ(cp866::toUtf8(cp866::fromUtf8("Ёлка №5")), "Ёлка №5");
    // Latin-1 é and the euro sign have no place in CP866.
    EXPECT_EQ(cp866::fromUtf8("é€"), "??");
    // A cut multi-byte sequence and a stray continuation byte.
    EXPECT_EQ(cp866::fromUtf8(std::string("a\xD0", 2)), "a?");
    EXPECT_EQ(cp866::fromUtf8(std::string("\x80z", 2)), "?z");
}
