// The register's rules as the host kit checks them before sending: what
// passes, and that a refusal names the rule.

#include "host/rules.h"

#include <gtest/gtest.h>

namespace {

using namespace hostkit;

std::string broken(const rules::Broken& b) { return b.value_or(""); }

TEST(HostRules, NumbersTheRegisterWouldRefuseOrMisread) {
    EXPECT_FALSE(rules::factoryNumber("0123456789"));
    EXPECT_NE(broken(rules::factoryNumber("012345678")).find("exactly 10 digits"),
              std::string::npos);
    EXPECT_TRUE(rules::factoryNumber("01234567890"));
    EXPECT_TRUE(rules::factoryNumber("--help56789")) << "not digits";

    EXPECT_FALSE(rules::cashierNumber(20));
    EXPECT_NE(broken(rules::cashierNumber(21)).find("1 to 20"), std::string::npos);
    EXPECT_TRUE(rules::cashierNumber(0));

    EXPECT_FALSE(rules::discountPercent(10000));
    EXPECT_NE(broken(rules::discountPercent(15000)).find("at most 100.00%"), std::string::npos);
    EXPECT_TRUE(rules::discountPercent(0));
    EXPECT_TRUE(rules::discountAmount(0));

    EXPECT_FALSE(rules::taxRate(9999));
    EXPECT_TRUE(rules::taxRate(10000));
    EXPECT_FALSE(rules::cashInAmount(100'000'000'000));
    EXPECT_TRUE(rules::cashInAmount(100'000'000'001));

    EXPECT_FALSE(rules::taxpayerNumber("7712345678"));
    EXPECT_FALSE(rules::taxpayerNumber("771234567890"));
    EXPECT_TRUE(rules::taxpayerNumber("771234567"));
    EXPECT_FALSE(rules::storageNumber("9999078900012345"));
    EXPECT_TRUE(rules::storageNumber("99990789000123456"));

    EXPECT_FALSE(rules::paperWidth(58));
    EXPECT_FALSE(rules::paperWidth(80));
    EXPECT_NE(broken(rules::paperWidth(70)).find("57 to 60 mm"), std::string::npos);
}

TEST(HostRules, TextsMustFitTheCodePageAndTheField) {
    std::string cp866;
    EXPECT_FALSE(rules::text("Иванова №5", "a name", 1, 255, cp866));
    EXPECT_EQ(cp866,
              "\x88\xA2\xA0\xAD\xAE\xA2\xA0 \xFC"
              "5");

    // A euro sign would print as '?': refused, naming the character.
    const std::string euro = broken(rules::text("Цена 5€", "--name", 0, 255, cp866));
    EXPECT_NE(euro.find("--name"), std::string::npos) << euro;
    EXPECT_NE(euro.find("\"€\""), std::string::npos) << euro;
    EXPECT_NE(euro.find("CP866"), std::string::npos) << euro;
    EXPECT_NE(broken(rules::text("\xFF", "a name", 0, 255, cp866)).find("not UTF-8"),
              std::string::npos);

    // Lengths count the register's bytes, one a character.
    EXPECT_FALSE(rules::text(std::string(30, 'a'), "x", 1, 30, cp866));
    std::string thirty;
    for (int i = 0; i < 30; ++i) thirty += "Ж";
    EXPECT_FALSE(rules::text(thirty, "a tax's name", 1, 30, cp866)) << "60 UTF-8 bytes, 30 here";
    EXPECT_NE(broken(rules::text(thirty + "Ж", "a tax's name", 1, 30, cp866)).find("at most 30"),
              std::string::npos);
    EXPECT_NE(broken(rules::text("", "a tax's name", 1, 30, cp866)).find("may not be empty"),
              std::string::npos);
}

}  // namespace
