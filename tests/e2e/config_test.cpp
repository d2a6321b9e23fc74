// Reference data, clock and settings end to end: requests through
// okta80f-sim's host line, and the okta-host subcommands that speak them.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/e2e/sim_process.h"
#include "tests/support/file_text.h"

namespace {

using hostkit::Response;

constexpr std::uint32_t kServicePassword = 271828;

using testing_support::fileBytes;

class ConfigE2E : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(sim.waitReady()) << sim.output(); }

    Response request(std::uint8_t command, const Bytes& data) {
        Response r;
        std::string error;
        EXPECT_TRUE(sim.client().request(command, data, r, error)) << error;
        return r;
    }

    static Bytes prefix(std::uint8_t cashier, std::uint32_t password, const Bytes& payload = {}) {
        Bytes data{cashier};
        le::put32(data, password);
        le::putBytes(data, payload);
        return data;
    }

    // A cashier record of 263 bytes.
    static Bytes cashierRecord(std::uint8_t number, std::uint16_t rights, const std::string& name,
                               std::uint32_t password) {
        Bytes record{number};
        le::put16(record, rights);
        le::put32(record, password);
        le::putText(record, name);
        record.resize(263, 0);
        return record;
    }

    static Bytes withType(std::uint8_t type, const Bytes& record) {
        Bytes payload{type};
        le::putBytes(payload, record);
        return payload;
    }

    int host(std::vector<std::string> args, std::string& out) {
        args.insert(args.begin(), {"--port", sim.hostLine()});
        return e2e::runHost(args, out);
    }

    e2e::SimProcess sim;
};

TEST_F(ConfigE2E, NewBoardHasTheServiceCashierAndChecksThePrefix) {
    const Bytes cashiers = fileBytes(sim.root() + "/nv/CASHIERS");
    ASSERT_EQ(cashiers.size(), 5260u);
    EXPECT_EQ(Bytes(cashiers.begin() + 19 * 263, cashiers.begin() + 19 * 263 + 7),
              (Bytes{0x14, 0xFF, 0x03, 0xD4, 0x25, 0x04, 0x00}));
    EXPECT_EQ(fileBytes(sim.root() + "/nv/SECTIONS").size(), 2560u);
    EXPECT_EQ(fileBytes(sim.root() + "/nv/DISCOUNTS").size(), 2760u);

    // Four bytes: command 1 finds no cashier, hence no right; command 2
    // reports the short prefix, and echoes nothing.
    EXPECT_EQ(request(1, {20, 0xD4, 0x25, 0x04}).code, 16);
    Response r = request(2, {20, 0xD4, 0x25, 0x04});
    EXPECT_EQ(r.code, 19);
    EXPECT_TRUE(r.data.empty());

    // The clock needs no cashier.
    r = request(3, {});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.data.size(), 4u);
}

TEST_F(ConfigE2E, CashierRules) {
    // Cashier 5 with rights 0 is written and then cannot authorise.
    const Bytes five = cashierRecord(5, 0, "Five", 555);
    Response r = request(2, prefix(20, kServicePassword, withType(1, five)));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.data, five);
    EXPECT_EQ(request(64, prefix(5, 555, {1})).code, 18);

    // Cashier 20 rewritten by itself with no name and password 0 keeps both.
    const Bytes blank = cashierRecord(20, 0x0001, "", 0);
    EXPECT_EQ(request(2, prefix(20, kServicePassword, withType(1, blank))).code, 0);
    r = request(1, prefix(20, kServicePassword, {1, 20}));
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.data, cashierRecord(20, 0x03FF, "\x96\x92\x8E", kServicePassword));

    // Another cashier, even with every right, may not write cashier 20.
    EXPECT_EQ(
        request(2, prefix(20, kServicePassword, withType(1, cashierRecord(1, 0x03FF, "One", 11))))
            .code,
        0);
    EXPECT_EQ(request(2, prefix(1, 11, withType(1, blank))).code, 16);
}

TEST_F(ConfigE2E, SettingsFilesAndTheClockLimit) {
    EXPECT_EQ(request(65, prefix(20, kServicePassword, {1, 1})).code, 0);
    EXPECT_EQ(fileBytes(sim.root() + "/nv/FR_SETTINGS"), (Bytes{0x01}));

    // 2020-09-13 is earlier than the build instant (January 2023).
    Bytes early;
    le::put32(early, 1600000000);
    Response r = request(4, prefix(20, kServicePassword, early));
    EXPECT_EQ(r.code, 23);
    EXPECT_TRUE(r.data.empty());

    EXPECT_EQ(request(194, prefix(20, kServicePassword, {2, 1, 2, 3})).code, 22);
    EXPECT_EQ(request(194, prefix(20, kServicePassword, {2, 1, 2, 3, 4})).code, 0);
    EXPECT_EQ(fileBytes(sim.root() + "/nv/PRINTER_SETTINGS"), (Bytes{0x3C, 1, 2, 3, 4}));
}

TEST_F(ConfigE2E, HostKitSubcommands) {
    std::string out;
    ASSERT_EQ(host({"cashier", "set", "5", "--name", "Иванова", "--new-password", "1234",
                    "--rights", "sale,return,reports"},
                   out),
              0)
        << out;
    EXPECT_NE(out.find("name: Иванова"), std::string::npos) << out;
    ASSERT_EQ(host({"--json", "cashier", "get", "5"}, out), 0) << out;
    EXPECT_NE(out.find("\"password\":1234"), std::string::npos) << out;
    EXPECT_NE(out.find("\"rights\":\"0x0013\""), std::string::npos) << out;
    // Cashier 5 lacks the right to read sections.
    EXPECT_EQ(host({"--cashier", "5", "--password", "1234", "section", "get", "1"}, out), 1);

    ASSERT_EQ(host({"section", "set", "3", "--name", "Бакалея"}, out), 0) << out;
    ASSERT_EQ(host({"section", "get", "3"}, out), 0) << out;
    EXPECT_NE(out.find("name: Бакалея"), std::string::npos) << out;
    const Bytes sections = fileBytes(sim.root() + "/nv/SECTIONS");
    EXPECT_EQ(sections[2 * 128 + 1], 0x81) << "the name is stored in CP866";

    ASSERT_EQ(host({"discount", "set", "2", "--percent", "10.00", "--name", "Клуб"}, out), 0)
        << out;
    ASSERT_EQ(host({"discount", "set", "3", "--amount", "5.5"}, out), 0) << out;
    ASSERT_EQ(host({"discount", "get", "2"}, out), 0) << out;
    EXPECT_NE(out.find("value: 10.00%"), std::string::npos) << out;
    ASSERT_EQ(host({"discount", "get", "3"}, out), 0) << out;
    EXPECT_NE(out.find("value: 5.50"), std::string::npos) << out;
    ASSERT_EQ(host({"discount", "clear", "2"}, out), 0) << out;
    ASSERT_EQ(host({"discount", "get", "2"}, out), 0) << out;
    EXPECT_NE(out.find("kind: empty"), std::string::npos) << out;

    ASSERT_EQ(host({"clock", "set", "2031-06-01T12:00:00"}, out), 0) << out;
    ASSERT_EQ(host({"clock", "get"}, out), 0) << out;
    EXPECT_NE(out.find("local: 2031-06-01T12:0"), std::string::npos) << out;
    EXPECT_EQ(host({"clock", "set", "2020-01-01T00:00:00"}, out), 1);

    ASSERT_EQ(host({"setting", "set", "rounding", "half-even"}, out), 0) << out;
    ASSERT_EQ(host({"setting", "get", "rounding"}, out), 0) << out;
    EXPECT_NE(out.find("rounding: half-even"), std::string::npos) << out;

    ASSERT_EQ(host({"printer-setting", "set", "width", "80"}, out), 0) << out;
    ASSERT_EQ(host({"printer-setting", "get", "width"}, out), 0) << out;
    EXPECT_NE(out.find("width: 80"), std::string::npos) << out;
    ASSERT_EQ(host({"printer-setting", "get", "flags"}, out), 0) << out;
    EXPECT_NE(out.find("flags: 0x00000000"), std::string::npos) << out;

    EXPECT_EQ(host({"section", "get", "21"}, out), 2) << "a bad record number is a usage error";

    // Cashier 20 keeps every right whatever is written; the output shows what
    // the register stored, and the new password authorises from then on.
    ASSERT_EQ(
        host({"--json", "cashier", "set", "20", "--rights", "sale", "--new-password", "42"}, out),
        0)
        << out;
    EXPECT_NE(out.find("\"rights\":\"0x03FF\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"password\":42"), std::string::npos) << out;
    EXPECT_NE(out.find("\"name\":\"ЦТО\""), std::string::npos) << out;
    EXPECT_EQ(host({"--password", "42", "cashier", "get", "20"}, out), 0) << out;
}

}  // namespace
