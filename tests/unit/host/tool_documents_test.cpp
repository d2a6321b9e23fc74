// okta-host's fiscal subcommands against a register played by the test:
// the requests each sends, in order and byte for byte, and what it makes of
// the answers.

#include <gtest/gtest.h>

#include "host/documents.h"
#include "host/records.h"
#include "host/tool/cli.h"
#include "host/tool/document_args.h"
#include "tests/unit/host/fake_register.h"

namespace {

using namespace hostkit;
using host_test::FakeRegister;
using host_test::Incoming;
using host_test::responseFrame;

// The prefix of the service cashier 20 with the factory password.
Bytes service(const Bytes& payload) {
    Bytes b{20};
    le::put32(b, 271828);
    le::putBytes(b, payload);
    return b;
}

// Answers as a register that accepts everything: close commands with a
// reply of their document's size, the counters with their records.
Bytes accepting(const Incoming& in) {
    if (in.enq) return {};
    Bytes reply;
    switch (in.command) {
        case 22:
            reply.assign(32, 0);
            le::store64(&reply[16], 9100);
            le::store64(&reply[24], 900);
            break;
        case 18:
        case 20:
            reply.assign(14, 0);
            break;
        case 163:
        case 165:
            reply.assign(22, 0);
            break;
        case 9:
        case 25:
            reply.assign(12, 0);
            break;
        case 54:
            reply.assign(406, 0);
            break;
        case 58:
            return responseFrame(0, in.id, {0x09, 0, 0, 0});
        default:
            break;
    }
    if (!reply.empty()) le::store32(&reply[0], 41);  // the document number
    return responseFrame(0, in.id, reply);
}

struct Outcome {
    int status;
    std::string out;
};

Outcome okta(const FakeRegister& fake, std::vector<std::string> words) {
    words.insert(words.begin(), {"--port", fake.path()});
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = hosttool::runOktaHost(words);
    Outcome r{status, testing::internal::GetCapturedStdout()};
    testing::internal::GetCapturedStderr();
    return r;
}

std::vector<std::uint8_t> commands(FakeRegister& fake) {
    std::vector<std::uint8_t> out;
    for (const Incoming& in : fake.received()) out.push_back(in.command);
    return out;
}

TEST(HostToolDocuments, AReceiptIsOpenedFilledInOrderAndClosed) {
    FakeRegister fake([](const Incoming& in, int) { return accepting(in); });
    const Outcome r =
        okta(fake,
             {"--json", "receipt", "return-sale", "--item", "Хлеб:45.50x2", "--text", "Спасибо",
              "--item", "Кофе: латте:0.00x0.5:tax=2:unit=л", "--cash", "100", "--non-cash", "0.5"});
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(commands(fake), (std::vector<std::uint8_t>{21, 7, 7, 7, 22}));
    const auto in = fake.received();
    EXPECT_EQ(in[0].data, service({2})) << "the kind after the prefix";
    Position bread;
    bread.name = "Хлеб";
    bread.price = 4550;
    bread.quantity = 2;
    EXPECT_EQ(in[1].data, encodeTlv(positionTlv(bread)));
    EXPECT_EQ(in[2].data, encodeTlv(textLineTlv("Спасибо"))) << "between the items, as given";
    Position coffee;
    coffee.name = "Кофе: латте";
    coffee.price = 0;
    coffee.quantity = 5;
    coffee.quantityDigits = 1;
    coffee.taxNumber = 2;
    coffee.unit = "л";
    EXPECT_EQ(in[3].data, encodeTlv(positionTlv(coffee)));
    EXPECT_EQ(in[4].data, receiptCloseData(10000, 50));
    EXPECT_NE(r.out.find("\"documentNumber\":41"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"total\":\"91.00\",\"change\":\"9.00\""), std::string::npos) << r.out;
}

TEST(HostToolDocuments, ARefusedStepCancelsTheDocument) {
    // The second position names a tax the registration lacks: 45.
    FakeRegister fake([](const Incoming& in, int index) {
        return index == 2 ? responseFrame(45, in.id) : accepting(in);
    });
    const Outcome r =
        okta(fake, {"--json", "receipt", "sale", "--item", "A:1.00", "--item", "B:2.00:tax=5"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(commands(fake), (std::vector<std::uint8_t>{21, 7, 7, 6})) << "cancelled, not closed";
    EXPECT_NE(r.out.find("\"code\":45"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"cancelled\":true"), std::string::npos) << r.out;

    // A bad item is refused before anything is sent.
    FakeRegister quiet([](const Incoming& in, int) { return accepting(in); });
    EXPECT_EQ(okta(quiet, {"receipt", "sale", "--item", "A:1.00x0"}).status, 2);
    EXPECT_EQ(okta(quiet, {"receipt", "sale", "--text", "only text"}).status, 2);
    EXPECT_TRUE(quiet.received().empty());
}

TEST(HostToolDocuments, RegistrationTextsTaxesAndNumbers) {
    FakeRegister fake([](const Incoming& in, int) { return accepting(in); });
    const std::vector<std::string> args{"register",
                                        "--inn",
                                        "7712345678",
                                        "--storage-number",
                                        "9999078900012345",
                                        "--text1",
                                        "ООО Ромашка",
                                        "--text2",
                                        "г. Москва",
                                        "--text3",
                                        "Магазин",
                                        "--tax",
                                        "1:НДС 20%:on-top:20.00",
                                        "--tax",
                                        "3:Без НДС:no-tax:0"};
    ASSERT_EQ(okta(fake, args).status, 0);
    EXPECT_EQ(commands(fake), (std::vector<std::uint8_t>{8, 7, 7, 7, 7, 7, 9}));
    const auto in = fake.received();
    EXPECT_EQ(in[0].data, service({}));
    EXPECT_EQ(in[1].data, encodeTlv(registrationTextTlv(1, "ООО Ромашка")));
    EXPECT_EQ(in[3].data, encodeTlv(registrationTextTlv(3, "Магазин")));
    EXPECT_EQ(in[4].data, encodeTlv(taxTlv(0, {TaxKind::OnTop, 2000, "НДС 20%"})));
    EXPECT_EQ(decodeTlv(in[5].data)->tag, 13107) << "tax 3";
    EXPECT_EQ(in[6].data, registrationCloseData("7712345678", "9999078900012345"));

    // --preview prints with 32 and leaves the report open.
    FakeRegister preview([](const Incoming& in, int) { return accepting(in); });
    auto withPreview = args;
    withPreview.push_back("--preview");
    ASSERT_EQ(okta(preview, withPreview).status, 0);
    EXPECT_EQ(commands(preview), (std::vector<std::uint8_t>{8, 7, 7, 7, 7, 7, 32}));
    EXPECT_EQ(preview.received().back().data,
              registrationCloseData("7712345678", "9999078900012345"));
}

TEST(HostToolDocuments, ShiftsAndCash) {
    FakeRegister fake([](const Incoming& in, int) { return accepting(in); });
    EXPECT_EQ(okta(fake, {"shift", "open"}).status, 0);
    EXPECT_EQ(okta(fake, {"cash", "in", "500.00", "--cashier-name", "Ли"}).status, 0);
    EXPECT_EQ(okta(fake, {"cash", "out", "200"}).status, 0);
    EXPECT_EQ(okta(fake, {"shift", "close"}).status, 0);
    EXPECT_EQ(commands(fake), (std::vector<std::uint8_t>{17, 18, 162, 163, 164, 165, 19, 20}));
    const auto in = fake.received();
    EXPECT_TRUE(in[1].data.empty());
    EXPECT_EQ(in[2].data, service({2, 0x8B, 0xA8})) << "the name this document prints";
    EXPECT_EQ(in[3].data, amountCloseData(50000));
    EXPECT_EQ(in[5].data, amountCloseData(20000));
    EXPECT_EQ(okta(fake, {"cash", "in", "1000000000.01"}).status, 2) << "above the cash-in limit";
}

TEST(HostToolDocuments, ReportsTheControlTapeAndCopies) {
    // The tape stops at paper out after document 5, then goes on to 9.
    FakeRegister fake([](const Incoming& in, int) {
        if (in.command == 58 && in.data.size() == 5) return responseFrame(54, in.id, {5, 0, 0, 0});
        return accepting(in);
    });
    Outcome r = okta(fake, {"--json", "control-tape"});
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"complete\":true,\"lastPrinted\":9,\"calls\":2"), std::string::npos)
        << r.out;
    auto in = fake.received();
    ASSERT_EQ(in.size(), 2u);
    EXPECT_EQ(in[0].data, service({}));
    EXPECT_EQ(in[1].data, service({6, 0, 0, 0}));

    EXPECT_EQ(okta(fake, {"report", "shifts", "9", "3"}).status, 0);
    EXPECT_EQ(fake.received().back().data, service({6, 9, 0, 3, 0}));
    EXPECT_EQ(okta(fake, {"report", "x-departments"}).status, 0);
    EXPECT_EQ(fake.received().back().data, service({4}));
    EXPECT_EQ(okta(fake, {"report", "period", "2027-01-01", "2027-01-01"}).status, 0);
    const Bytes period = fake.received().back().data;
    ASSERT_EQ(period.size(), 14u);
    EXPECT_EQ(period[5], 5);
    EXPECT_EQ(le::u32(&period[10]) - le::u32(&period[6]), 86399u) << "the whole day";
    EXPECT_EQ(okta(fake, {"report", "period", "2027-02-30", "2027-03-01"}).status, 2);
    EXPECT_EQ(okta(fake, {"copy", "12"}).status, 0);
    EXPECT_EQ(fake.received().back().command, 178);
    EXPECT_EQ(fake.received().back().data, service({12, 0, 0, 0}));

    // A tape that gets nowhere stops and says where to go on.
    FakeRegister stuck([](const Incoming& in, int) { return responseFrame(54, in.id); });
    r = okta(stuck, {"--json", "control-tape", "--from", "7"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\"complete\":false"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"continueFrom\":7"), std::string::npos) << r.out;
    EXPECT_EQ(stuck.received().size(), 1u);
}

TEST(HostToolDocuments, DocumentValueByValue) {
    FakeRegister fake([](const Incoming& in, int) {
        if (in.command == 176) {
            Bytes state{3, 0, 2, 0, 1, 0};
            le::put64(state, 4550);
            return responseFrame(0, in.id, state);
        }
        return accepting(in);
    });
    EXPECT_EQ(okta(fake, {"document", "open", "receipt", "--kind", "purchase"}).status, 0);
    EXPECT_EQ(fake.received().back().data, service({1}));
    EXPECT_EQ(okta(fake, {"document", "open", "shift-open", "--kind", "sale"}).status, 2);
    EXPECT_EQ(okta(fake, {"document", "add", "--tlv", "252C010005"}).status, 0);
    EXPECT_EQ(fake.received().back().data, (Bytes{0x25, 0x2C, 0x01, 0x00, 0x05}));
    EXPECT_EQ(okta(fake, {"document", "add", "--text", "a", "--text", "b"}).status, 2);
    EXPECT_EQ(okta(fake, {"document", "add", "--reg-text", "2:Москва"}).status, 0);
    EXPECT_EQ(decodeTlv(fake.received().back().data)->tag, 11187);
    const Outcome state = okta(fake, {"--json", "document", "state"});
    EXPECT_NE(state.out.find("\"document\":\"receipt\",\"kind\":\"sale\",\"receiptNumber\":2,"
                             "\"positions\":1,\"total\":\"45.50\""),
              std::string::npos)
        << state.out;
    EXPECT_EQ(okta(fake, {"document", "close", "receipt", "--cash", "50"}).status, 0);
    EXPECT_EQ(fake.received().back().command, 22);
    EXPECT_EQ(fake.received().back().data, receiptCloseData(5000, 0));
    EXPECT_EQ(okta(fake, {"document", "close", "cash-out"}).status, 2) << "needs --amount";
    EXPECT_EQ(okta(fake, {"document", "cancel"}).status, 0);
    EXPECT_EQ(fake.received().back().command, 6);
}

TEST(HostToolDocuments, ItemAndTaxForms) {
    Position p;
    std::string error;
    ASSERT_TRUE(
        hosttool::parseItem("Сыр:350.00x0.250:section=3:discount=2:code=46:extra=акция", p, error))
        << error;
    EXPECT_EQ(p.name, "Сыр");
    EXPECT_EQ(p.price, 35000);
    EXPECT_EQ(p.quantity, 250);
    EXPECT_EQ(p.quantityDigits, 3);
    EXPECT_EQ(p.section, 3);
    EXPECT_EQ(p.taxNumber, 1) << "tax 1 unless given";
    EXPECT_EQ(p.discount, 2);
    EXPECT_EQ(p.code, "46");
    EXPECT_EQ(p.extraLine, "акция");
    EXPECT_FALSE(hosttool::parseItem("Сыр", p, error));
    EXPECT_NE(error.find("no price"), std::string::npos);
    EXPECT_FALSE(hosttool::parseItem("Сыр:1.00:colour=red", p, error));
    EXPECT_NE(error.find("colour=red"), std::string::npos);
    EXPECT_FALSE(hosttool::parseItem("Сыр:1.00:discount-sum=1.005", p, error));

    int index = 0;
    Tax tax;
    ASSERT_TRUE(hosttool::parseTax("2:НДС 10%:contained:10", index, tax, error)) << error;
    EXPECT_EQ(index, 1);
    EXPECT_EQ(tax.kind, TaxKind::Contained);
    EXPECT_EQ(tax.rate, 1000);
    EXPECT_EQ(tax.name, "НДС 10%");
    ASSERT_TRUE(hosttool::parseTax("5:A:B:no-tax:0", index, tax, error)) << error;
    EXPECT_EQ(tax.name, "A:B");
    EXPECT_FALSE(hosttool::parseTax("6:НДС:on-top:20", index, tax, error));
    EXPECT_FALSE(hosttool::parseTax("1:НДС:on-top:100.00", index, tax, error));
    EXPECT_NE(error.find("99.99"), std::string::npos) << error;
    EXPECT_FALSE(hosttool::parseTax("1:НДС:vat:20", index, tax, error));
    EXPECT_FALSE(hosttool::parseTax("1::on-top:20", index, tax, error)) << "a tax has a name";
}

}  // namespace
