// A fiscal day with okta-host, as a POS developer would run it from a
// script: factory number, registration with two taxes, shift, cash in,
// sales with change, discounts and a card payment, a return, cash out,
// reports, a copy, the Z report; each answer in JSON, checked against
// amounts worked out here, and the counters the register keeps.

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/sim_process.h"
#include "tests/e2e/tape_checks.h"
#include "tests/support/file_text.h"

namespace {

// The text of a field of a one-line JSON object ("" when absent); strings
// come without their quotes.
std::string field(const std::string& json, const std::string& name) {
    const std::string key = "\"" + name + "\":";
    std::size_t at = json.find(key);
    if (at == std::string::npos) return {};
    at += key.size();
    if (json[at] == '"') return json.substr(at + 1, json.find('"', at + 1) - at - 1);
    return json.substr(at, json.find_first_of(",}", at) - at);
}

class HostFiscalDayE2E : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(sim.waitReady()) << sim.output(); }

    // Runs okta-host --json with the arguments; the JSON it printed, which
    // must say ok.
    std::string run(std::vector<std::string> args) {
        args.insert(args.begin(), "--json");
        std::string out, err;
        const int status = sim.runHost(args, out, &err);
        EXPECT_EQ(status, 0) << args[1] << ": " << out << err;
        EXPECT_EQ(field(out, "ok"), "true") << out;
        return out;
    }

    std::string tape() { return testing_support::readFile(sim.root() + "/printer/tape.txt"); }

    e2e::SimProcess sim;
};

TEST_F(HostFiscalDayE2E, ADayAtTheTillFromFactoryNumberToZReport) {
    run({"set-serial", "0000000042"});
    run({"discount", "set", "2", "--percent", "10.00"});
    std::string r =
        run({"register", "--inn", "7701234567", "--storage-number", "9999078900001234", "--text1",
             "ООО \"Ромашка\"", "--text2", "г. Москва, ул. Тверская, 1", "--text3", "Касса 1",
             "--tax", "1:НДС 20%:contained:20.00", "--tax", "2:НДС 10%:on-top:10.00"});
    EXPECT_EQ(field(r, "documentNumber"), "1");
    EXPECT_NE(field(r, "fiscalSign"), "0");

    r = run({"shift", "open"});
    EXPECT_EQ(field(r, "documentNumber"), "2");
    EXPECT_EQ(field(r, "shiftNumber"), "1");
    r = run({"cash", "in", "500.00"});
    EXPECT_EQ(field(r, "cashInDrawer"), "500.00");

    // 2 x 45.50 = 91.00 in section 1; 120.00 less 10 % = 108.00 in section
    // 2, plus 10 % on top; paid 300.00 in cash.
    r = run({"receipt", "sale", "--item", "Хлеб:45.50x2:section=1:tax=1", "--item",
             "Чай:120.00:section=2:tax=2:discount=2", "--cash", "300.00"});
    EXPECT_EQ(field(r, "documentNumber"), "4");
    EXPECT_EQ(field(r, "receiptNumber"), "1");
    EXPECT_EQ(field(r, "total"), "199.00");
    EXPECT_EQ(field(r, "change"), "101.00");

    // A fixed discount and a card payment of the whole total.
    r = run({"receipt", "sale", "--item", "Сыр:350.00:section=2:tax=1:discount-sum=50.00", "--text",
             "Спасибо за покупку!", "--cash", "0", "--non-cash", "300.00"});
    EXPECT_EQ(field(r, "total"), "300.00");
    EXPECT_EQ(field(r, "change"), "0.00");

    r = run({"receipt", "return-sale", "--item", "Хлеб:45.50:section=1:tax=1", "--cash", "45.50"});
    EXPECT_EQ(field(r, "documentNumber"), "6");
    run({"cash", "out", "200.00"});

    // The shift's counters as the register keeps them.
    r = run({"counters", "shift"});
    EXPECT_EQ(field(r, "receiptCount"), "3");
    EXPECT_EQ(field(r, "cashInDrawer"), "453.50") << "500 + 199 - 45.50 - 200";
    r = run({"counters", "departments"});
    EXPECT_NE(r.find("\"department\":2,\"sale\":\"408.00\""), std::string::npos)
        << "section 2: 108.00 + 300.00 " << r;
    EXPECT_NE(
        r.find(
            "\"department\":1,\"sale\":\"91.00\",\"purchase\":\"0.00\",\"return-sale\":\"45.50\""),
        std::string::npos)
        << r;

    run({"report", "x-departments"});
    run({"copy", "5"});
    r = run({"shift", "close"});
    EXPECT_EQ(field(r, "documentNumber"), "8");
    run({"report", "shifts", "1", "1"});

    // What was printed reads like a day at a till.
    const std::string paper = tape();
    for (const char* text : {"ПРОДАЖА ЧЕК 1", "ВОЗВРАТ ПРОДАЖИ ЧЕК 3", "СКИДКА 10.00%",
                             "Спасибо за покупку!", "БЕЗНАЛИЧНЫМИ", "(КОПИЯ)", "X-Отчет",
                             "ИТОГИ ПО ОТДЕЛАМ", "Z-Отчет", "ОТЧЕТ ПО ДИАПАЗОНУ СМЕН"})
        EXPECT_NE(paper.find(text), std::string::npos) << text;
    EXPECT_NE(paper.find(e2e::doubleWidth("СДАЧА")), std::string::npos);
    EXPECT_NE(paper.find(e2e::doubleWidth("101.00")), std::string::npos);
}

TEST_F(HostFiscalDayE2E, TheCountersOfANewArchiveAreZeroWithTheirKinds) {
    for (const char* which : {"shift", "totals", "gross"}) {
        const std::string r = run({"counters", which});
        EXPECT_EQ(field(r, "receiptCount"), "0") << which;
        std::size_t at = 0;
        for (int kind = 0; kind < 4; ++kind) {
            at = r.find("\"kindByte\":" + std::to_string(kind), at);
            EXPECT_NE(at, std::string::npos) << which << " kind " << kind;
        }
    }
    const std::string departments = run({"counters", "departments"});
    EXPECT_NE(departments.find("\"departments\":[]"), std::string::npos)
        << "no department has an amount yet: " << departments;
}

}  // namespace
