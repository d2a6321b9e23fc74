// okta-host document: building a document value by value, for hosts that
// do it themselves: open (8, 17, 19, 21, 24, 162, 164), add (7), close (9,
// 18, 20, 22, 25, 163, 165), preview a registration (32), cancel (6) and
// the state of the open document (176).

#include "host/rules.h"
#include "host/tool/cli.h"
#include "host/tool/document_args.h"
#include "host/tool/document_output.h"
#include "host/tool/values.h"

namespace hosttool {

namespace {

using hostkit::DocumentType;

const std::string kTypes =
    "registration, shift-open, shift-close, receipt, cash-in, cash-out or archive-close";

int documentType(const Context& ctx, const std::string& text, DocumentType& type) {
    if (parseDocumentType(text, type)) return kOk;
    return ctx.fail(kUsage, "a document type is " + kTypes + ", not \"" + text + "\"");
}

int runOpen(Context& ctx, const Args& args) {
    DocumentType type{};
    if (int status = documentType(ctx, args.positional[0], type)) return status;
    std::string cp866;
    if (auto broken = hostkit::rules::text(args.value("--cashier-name"), "--cashier-name", 0,
                                           hostkit::rules::kCashierName, cp866))
        return ctx.fail(kUsage, *broken);
    hostkit::ReceiptKind kind{};
    if ((type == DocumentType::Receipt) != args.has("--kind"))
        return ctx.fail(kUsage, "--kind goes with a receipt, and only with it");
    if (args.has("--kind") && !parseReceiptKind(args.value("--kind"), kind))
        return ctx.fail(kUsage, "--kind is sale, purchase, return-sale or return-purchase");
    auto r = type == DocumentType::Receipt
                 ? ctx.reg.openReceipt(kind, args.value("--cashier-name"))
                 : ctx.reg.openDocument(type, args.value("--cashier-name"));
    if (!r) return ctx.failed(r);
    return ctx.done({{"open", std::string(hostkit::documentTypeName(type))}});
}

// The one value of `document add`, as a tagged value; kOk or the exit status.
int valueToAdd(const Context& ctx, const Args& args, hostkit::Tlv& value) {
    if (args.options.size() != 1)
        return ctx.fail(kUsage,
                        "give one of --item, --text, --tax, --reg-text, --cashier-name, --tlv");
    const auto& [name, text] = args.options.front();
    std::string error, cp866;
    if (name == "--item") {
        hostkit::Position item;
        if (!parseItem(text, item, error)) return ctx.fail(kUsage, "--item: " + error);
        value = hostkit::positionTlv(item);
    } else if (name == "--tax") {
        int index = 0;
        hostkit::Tax tax;
        if (!parseTax(text, index, tax, error)) return ctx.fail(kUsage, "--tax: " + error);
        value = hostkit::taxTlv(index, tax);
    } else if (name == "--reg-text") {
        long long which = 0;
        if (text.size() < 2 || text[1] != ':' || !parseNumber(text.substr(0, 1), 1, 3, which))
            return ctx.fail(kUsage, "--reg-text is N:TEXT with N 1, 2 or 3");
        if (auto broken = hostkit::rules::text(text.substr(2), "--reg-text", 1,
                                               hostkit::rules::kRegistrationText, cp866))
            return ctx.fail(kUsage, *broken);
        value = hostkit::registrationTextTlv(static_cast<int>(which), text.substr(2));
    } else if (name == "--tlv") {
        auto decoded = parseHex(text, value.value) ? hostkit::decodeTlv(value.value) : std::nullopt;
        if (!decoded)
            return ctx.fail(kUsage,
                            "--tlv is one tagged value in hexadecimal: tag, "
                            "length, value (little-endian)");
        value = *decoded;
    } else {
        const bool isText = name == "--text";
        if (auto broken = hostkit::rules::text(
                text, name, 1, isText ? hostkit::rules::kTextLine : hostkit::rules::kCashierName,
                cp866))
            return ctx.fail(kUsage, *broken);
        value = isText ? hostkit::textLineTlv(text) : hostkit::cashierNameTlv(text);
    }
    return kOk;
}

int runAdd(Context& ctx, const Args& args) {
    hostkit::Tlv value;
    if (int status = valueToAdd(ctx, args, value)) return status;
    auto r = ctx.reg.addValue(value);
    if (!r) return ctx.failed(r);
    return ctx.done({{"added", static_cast<unsigned long long>(value.tag)},
                     {"bytes", hexUpper(hostkit::encodeTlv(value))}});
}

// The close data of `type` from the options; kOk or the exit status.
int closeData(const Context& ctx, const Args& args, DocumentType type, Bytes& data) {
    if (args.has("--data")) {
        if (!parseHex(args.value("--data"), data))
            return ctx.fail(kUsage, "--data is hexadecimal bytes");
        return kOk;
    }
    if (type == DocumentType::Registration) {
        const std::string inn = args.value("--inn"), storage = args.value("--storage-number");
        if (auto broken = hostkit::rules::taxpayerNumber(inn))
            return ctx.fail(kUsage, "--inn: " + *broken);
        if (auto broken = hostkit::rules::storageNumber(storage))
            return ctx.fail(kUsage, "--storage-number: " + *broken);
        data = hostkit::registrationCloseData(inn, storage);
        return kOk;
    }
    std::int64_t cash = 0, nonCash = 0, amount = 0;
    const bool isCash = type == DocumentType::CashIn || type == DocumentType::CashOut;
    if (!parseHundredths(args.value("--cash").empty() ? "0" : args.value("--cash"), cash) ||
        !parseHundredths(args.value("--non-cash").empty() ? "0" : args.value("--non-cash"),
                         nonCash) ||
        (isCash && !parseHundredths(args.value("--amount"), amount)))
        return ctx.fail(kUsage, "amounts have up to two decimals, as 200.00" +
                                    std::string(isCash ? "; a cash document needs --amount" : ""));
    if (type == DocumentType::Receipt) data = hostkit::receiptCloseData(cash, nonCash);
    if (isCash) data = hostkit::amountCloseData(amount);
    return kOk;
}

int runClose(Context& ctx, const Args& args) {
    DocumentType type{};
    if (int status = documentType(ctx, args.positional[0], type)) return status;
    Bytes data;
    if (int status = closeData(ctx, args, type, data)) return status;
    auto r = ctx.reg.closeDocument(type, data);
    if (!r) return ctx.failed(r);
    return ctx.done(closeReplyFields(r.value()));
}

int runPreview(Context& ctx, const Args& args) {
    auto r = ctx.reg.previewRegistration(args.value("--inn"), args.value("--storage-number"));
    if (!r) return ctx.failed(r);
    return ctx.done({{"previewed", true}});
}

int runCancel(Context& ctx, const Args&) {
    auto r = ctx.reg.cancelDocument();
    if (!r) return ctx.failed(r);
    return ctx.done({{"cancelled", true}});
}

int runState(Context& ctx, const Args&) {
    auto r = ctx.reg.documentState();
    if (!r) return ctx.failed(r);
    const auto type = hostkit::documentTypeOf(r->type);
    Fields f{{"type", number(r->type)},
             {"document", type ? Field::Value(std::string(hostkit::documentTypeName(*type)))
                               : Field::Value(Null{})}};
    if (r->receiptKind) {
        f.push_back({"kind", *r->receiptKind <= 3
                                 ? Field::Value(std::string(hostkit::receiptKindName(
                                       static_cast<hostkit::ReceiptKind>(*r->receiptKind))))
                                 : Field::Value(number(*r->receiptKind))});
        f.push_back({"receiptNumber", number(*r->receiptNumber)});
        f.push_back({"positions", number(*r->positions)});
        f.push_back({"total", moneyValue(*r->total)});
    }
    return ctx.done(f);
}

}  // namespace

void addDocumentStepCommands(CommandTable& table) {
    table.push_back({"document open",
                     "TYPE [--kind K] [--cashier-name NAME]",
                     "open a document of TYPE: " + kTypes + " (8, 17, 19, 21, 24, 162, 164)",
                     {{"--kind", "K",
                       "a receipt's kind: sale, purchase, return-sale, "
                       "return-purchase"},
                      {"--cashier-name", "NAME", "the name this document prints"}},
                     1,
                     1,
                     true,
                     runOpen});
    table.push_back(
        {"document add",
         "--item ITEM|--text T|--tax TAX|--reg-text N:T|--cashier-name N|--tlv HEX",
         "add one value to the open document (command 7)",
         {{"--item", "ITEM", "a receipt position, as for receipt sale --item"},
          {"--text", "TEXT", "a receipt's text line (12120)"},
          {"--tax", "TAX", "a registration tax N:NAME:KIND:RATE (13105 ... 13109)"},
          {"--reg-text", "N:TEXT", "the registration's text 1, 2 or 3 (11048, 11187, 11009)"},
          {"--cashier-name", "NAME", "the cashier's name on the document (11021)"},
          {"--tlv", "HEX", "any tagged value, encoded"}},
         0,
         0,
         false,
         runAdd});
    table.push_back(
        {"document close",
         "TYPE [--cash A --non-cash A|--amount A|--inn N --storage-number N]",
         "close the open document of TYPE (9, 18, 20, 22, 25, 163, 165) and show the answer",
         {{"--cash", "A", "a receipt's cash"},
          {"--non-cash", "A", "a receipt's non-cash payment"},
          {"--amount", "A", "a cash document's amount"},
          {"--inn", "N", "a registration's taxpayer number"},
          {"--storage-number", "N", "a registration's storage number"},
          {"--data", "HEX", "the close data as given, instead of the above"}},
         1,
         1,
         false,
         runClose});
    table.push_back(
        {"document preview",
         "--inn N --storage-number N",
         "print a preview of the open registration report (command 32)",
         {{"--inn", "N", "the taxpayer number"}, {"--storage-number", "N", "the storage number"}},
         0,
         0,
         false,
         runPreview});
    table.push_back({"document cancel",
                     "",
                     "cancel the open document (command 6)",
                     {},
                     0,
                     0,
                     false,
                     runCancel});
    table.push_back({"document state",
                     "",
                     "the open document: type, and a receipt's number, "
                     "positions and total (command 176)",
                     {},
                     0,
                     0,
                     false,
                     runState});
}

}  // namespace hosttool
