// Typed calls against a register played by the test: the request bytes each
// sends (cashier prefix first where the register wants it), how answers
// decode, how refusals read, and that values breaking a rule stay unsent.

#include "host/register.h"

#include <gtest/gtest.h>

#include "tests/unit/host/fake_register.h"

namespace {

using namespace hostkit;
using host_test::FakeRegister;
using host_test::Incoming;
using host_test::responseFrame;

// The prefix of cashier 5 with password 1234.
Bytes prefix5(const Bytes& payload) {
    Bytes b{5};
    le::put32(b, 1234);
    le::putBytes(b, payload);
    return b;
}

class RegisterCalls : public ::testing::Test {
  protected:
    // Opens a client on a register that answers with `script`.
    void start(FakeRegister::Script script) {
        fake = std::make_unique<FakeRegister>(std::move(script));
        std::string error;
        ASSERT_TRUE(client.open(fake->path(), error)) << error;
    }
    Incoming last() { return fake->received().back(); }

    std::unique_ptr<FakeRegister> fake;
    Client client;
    Register reg{client, CashierLogin{5, 1234}};
};

TEST_F(RegisterCalls, AuthorisedCallsCarryTheCashierPrefix) {
    start(host_test::answerAll(encodeCashier({7, rightBit(Right::Sale), 77, "Петрова"})));
    auto c = reg.readCashier(7);
    ASSERT_TRUE(c.ok()) << c.describe();
    EXPECT_EQ(last().command, 1);
    EXPECT_EQ(last().data, prefix5({1, 7}));
    EXPECT_EQ(c->name, "Петрова");
    EXPECT_EQ(c->rights, rightBit(Right::Sale));

    ASSERT_TRUE(reg.setClock(0x66554433).ok());
    EXPECT_EQ(last().command, 4);
    EXPECT_EQ(last().data, prefix5({0x33, 0x44, 0x55, 0x66}));

    ASSERT_TRUE(reg.setFactoryNumber("0123456789").ok());
    EXPECT_EQ(last().command, 63);
    EXPECT_EQ(last().data, prefix5(toBytes("0123456789")));

    ASSERT_TRUE(reg.printReport(ReportType::ShiftRange, 3, 9).ok());
    EXPECT_EQ(last().command, 177);
    EXPECT_EQ(last().data, prefix5({6, 3, 0, 9, 0}));

    // Calls the register serves without a cashier carry none.
    reg.readClock();
    EXPECT_EQ(last().command, 3);
    EXPECT_TRUE(last().data.empty());
}

TEST_F(RegisterCalls, ValuesThatBreakARuleAreNotSent) {
    start(host_test::answerAll(Bytes(4, 0)));
    auto serial = reg.setFactoryNumber("012345678");
    ASSERT_NE(serial.rejected(), nullptr);
    EXPECT_NE(serial.describe().find("exactly 10 digits"), std::string::npos);
    auto discount = reg.writeDiscount({2, DiscountKind::Percent, 15000, ""});
    ASSERT_NE(discount.rejected(), nullptr);
    auto name = reg.writeSection({3, "Кофе ☕"});
    ASSERT_NE(name.rejected(), nullptr);
    EXPECT_NE(name.describe().find("☕"), std::string::npos);
    EXPECT_NE(reg.setPaperWidth(70).rejected(), nullptr);
    EXPECT_NE(reg.closeCashDocument(DocumentType::CashIn, 0).rejected(), nullptr);
    EXPECT_NE(reg.closeRegistration("12345", "9999078900012345").rejected(), nullptr);
    reg.setLogin({21, 1});
    EXPECT_NE(reg.readCashier(1).rejected(), nullptr) << "cashiers run 1 to 20";
    EXPECT_TRUE(fake->received().empty()) << "nothing of it went out";
    EXPECT_TRUE(reg.readClock().ok()) << "the clock needs no cashier";
}

TEST_F(RegisterCalls, RefusalsKeepTheirCodeMeaningAndData) {
    start([](const Incoming& in, int) {
        if (in.command == 22) return responseFrame(37, in.id, {0x5B, 0x2B});  // tag 11099
        if (in.command == 58) return responseFrame(53, in.id, {0x0C, 0, 0, 0});
        return responseFrame(16, in.id);
    });
    auto close = reg.closeReceipt(20000, 0);
    ASSERT_NE(close.refusal(), nullptr);
    EXPECT_EQ(close.refusal()->code, 37);
    EXPECT_EQ(close.refusal()->missingTag(), 11099);
    EXPECT_EQ(close.describe(),
              "the register answered 37: a required tagged value is missing (tag 11099)");
    EXPECT_EQ(last().data, receiptCloseData(20000, 0)) << "close commands carry no prefix";

    auto tape = reg.printControlTape(9);
    ASSERT_NE(tape.refusal(), nullptr);
    EXPECT_EQ(controlTapeStop(*tape.refusal()), 12u) << "where to go on from";
    EXPECT_EQ(last().data, prefix5({9, 0, 0, 0}));

    auto open = reg.openReceipt(ReceiptKind::ReturnOfSale);
    ASSERT_NE(open.refusal(), nullptr);
    EXPECT_EQ(open.refusal()->meaning(), "the cashier lacks the right for this operation");
    EXPECT_EQ(last().command, 21);
    EXPECT_EQ(last().data, prefix5({2}));
}

TEST_F(RegisterCalls, AnswersOfTheWrongSizeAreFailuresThatSaySo) {
    start(host_test::answerAll({1, 2, 3}));
    EXPECT_TRUE(reg.version().ok());
    auto model = reg.model();
    ASSERT_NE(model.lineFailure(), nullptr);
    EXPECT_NE(model.describe().find("command 49 does not read: 3 bytes 010203"), std::string::npos)
        << model.describe();
    EXPECT_NE(reg.shiftCounters().lineFailure(), nullptr);
}

TEST_F(RegisterCalls, DocumentsValueByValue) {
    start(host_test::answerAll());
    Position p;
    p.name = "Хлеб";
    p.price = 4550;
    ASSERT_TRUE(reg.addPosition(p).ok());
    EXPECT_EQ(last().command, 7);
    EXPECT_EQ(last().data, encodeTlv(positionTlv(p)));
    ASSERT_TRUE(reg.addTax(1, {TaxKind::Contained, 1000, "НДС 10%"}).ok());
    EXPECT_EQ(decodeTlv(last().data)->tag, 13106);
    ASSERT_TRUE(reg.openDocument(DocumentType::ShiftOpen).ok());
    EXPECT_EQ(last().command, 17);
    EXPECT_EQ(last().data, prefix5({}));
    EXPECT_NE(reg.openDocument(DocumentType::Receipt).rejected(), nullptr);
    EXPECT_NE(reg.addRegistrationText(4, "x").rejected(), nullptr);
    EXPECT_NE(reg.addTax(0, {TaxKind::OnTop, 2000, std::string(31, 'x')}).rejected(), nullptr);
}

// A sale in one call: open, each position, close; a refused position
// cancels the receipt and gives that refusal.
TEST_F(RegisterCalls, ASaleInOneCallOpensAddsClosesOrCancels) {
    Bytes reply(32, 0);
    le::store64(reply.data() + 16, 9100);  // total
    le::store64(reply.data() + 24, 900);   // change
    start([&reply](const Incoming& in, int) {
        return responseFrame(0, in.id, in.command == 22 ? reply : Bytes{});
    });
    Position bread;
    bread.name = "Хлеб";
    bread.price = 4550;
    bread.quantity = 2;
    auto sold = reg.sell({bread}, 10000, 0);
    ASSERT_TRUE(sold.ok()) << sold.describe();
    EXPECT_EQ(*sold->total, 9100);
    EXPECT_EQ(*sold->change, 900);
    std::vector<std::uint8_t> commands;
    for (const Incoming& in : fake->received()) commands.push_back(in.command);
    EXPECT_EQ(commands, (std::vector<std::uint8_t>{21, 7, 22}));
    EXPECT_EQ(fake->received()[0].data, prefix5({0}));  // a sale
    EXPECT_EQ(fake->received()[2].data, receiptCloseData(10000, 0));

    start([](const Incoming& in, int) { return responseFrame(in.command == 7 ? 45 : 0, in.id); });
    auto refused = reg.sell({bread, bread});
    ASSERT_NE(refused.refusal(), nullptr);
    EXPECT_EQ(refused.refusal()->result(), ResultCode::TaxNotFound);
    commands.clear();
    for (const Incoming& in : fake->received()) commands.push_back(in.command);
    EXPECT_EQ(commands, (std::vector<std::uint8_t>{21, 7, 6}));
    EXPECT_NE(reg.sell({}).rejected(), nullptr);
}

}  // namespace
