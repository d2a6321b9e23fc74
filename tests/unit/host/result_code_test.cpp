#include "host/result_code.h"

#include <gtest/gtest.h>

#include "host/result.h"

using namespace hostkit;

// A code that means different things for different commands reads right
// for each; elsewhere it keeps the table's meaning.
TEST(HostResultCodes, MeaningsFollowTheCommandThatAnswered) {
    struct Case {
        int code;
        std::uint8_t command;
        const char* meaning;
    };
    const Case cases[] = {
        {40, 164, "cash in the drawer is zero"},
        {40, 165, "more cash than the drawer holds (or an amount not above 0.00)"},
        {40, 22, "more cash paid out than the drawer holds"},
        {40, 0, "cash in the drawer is zero"},
        {3, 17, "no document object could be made for the type"},
        {3, 18, "the shift-open document is unfit to store"},
        {3, 0, "no document object for the type, or the document is unfit to store"},
        {17, 178, "no such document"},
        {17, 1, "record not found"},
        {30, 177, "unknown report type"},
        {13, 48, "factory data not valid"},
        {99, 0, "unknown result code"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(meaningOf(c.code, c.command), c.meaning) << c.code << " " << int(c.command);

    const Refusal refusal{40, {}, 165};
    EXPECT_EQ(refusal.result(), ResultCode::DrawerEmpty);
    EXPECT_EQ(refusal.describe(),
              "the register answered 40: more cash than the drawer holds (or an amount not above "
              "0.00)");
}
