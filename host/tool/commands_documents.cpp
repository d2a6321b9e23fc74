// okta-host register, shift, cash, receipt: whole fiscal documents, each
// opened, filled value by value and closed with the commands the register
// has for it (8/9 and 32, 17/18, 19/20, 162/163, 164/165, 21/22 with 7 in
// between). Every value is checked before the document is opened; a step
// the register refuses cancels the document (command 6).

#include "host/rules.h"
#include "host/tool/cli.h"
#include "host/tool/document_args.h"
#include "host/tool/document_output.h"
#include "host/tool/values.h"

namespace hosttool {

namespace {

using hostkit::DocumentType;

// --cashier-name: the name this document prints instead of the cashier's.
int cashierNameOption(const Context& ctx, const Args& args) {
    std::string cp866;
    if (auto broken = hostkit::rules::text(args.value("--cashier-name"), "--cashier-name", 0,
                                           hostkit::rules::kCashierName, cp866))
        return ctx.fail(kUsage, *broken);
    return kOk;
}

// An amount option, 0 when absent; kOk or the exit status.
int amountOption(const Context& ctx, const Args& args, const std::string& option,
                 std::int64_t& kopecks) {
    kopecks = 0;
    if (!args.has(option)) return kOk;
    std::string error;
    if (!parseHundredths(args.value(option), kopecks, option, error))
        return ctx.fail(kUsage, error);
    return kOk;
}

int runRegister(Context& ctx, const Args& args) {
    const std::string inn = args.value("--inn");
    const std::string storage = args.value("--storage-number");
    if (auto broken = hostkit::rules::taxpayerNumber(inn))
        return ctx.fail(kUsage, "--inn: " + *broken);
    if (auto broken = hostkit::rules::storageNumber(storage))
        return ctx.fail(kUsage, "--storage-number: " + *broken);
    std::string cp866;
    for (const char* option : {"--text1", "--text2", "--text3"})
        if (auto broken = hostkit::rules::text(args.value(option), option, 1,
                                               hostkit::rules::kRegistrationText, cp866))
            return ctx.fail(kUsage, *broken);
    std::vector<std::pair<int, hostkit::Tax>> taxes;
    for (const auto& [name, value] : args.options) {
        if (name != "--tax") continue;
        int index = 0;
        hostkit::Tax tax;
        std::string error;
        if (!parseTax(value, index, tax, error)) return ctx.fail(kUsage, "--tax: " + error);
        taxes.emplace_back(index, tax);
    }
    if (taxes.empty()) return ctx.fail(kUsage, "give at least one --tax: a registration needs one");
    if (int status = cashierNameOption(ctx, args)) return status;

    auto open = ctx.reg.openDocument(DocumentType::Registration, args.value("--cashier-name"));
    if (!open) return ctx.failed(open);
    for (int which = 1; which <= 3; ++which) {
        auto added =
            ctx.reg.addRegistrationText(which, args.value("--text" + std::to_string(which)));
        if (!added) return abandonDocument(ctx, added);
    }
    for (const auto& [index, tax] : taxes) {
        auto added = ctx.reg.addTax(index, tax);
        if (!added) return abandonDocument(ctx, added);
    }
    if (args.has("--preview")) {
        auto preview = ctx.reg.previewRegistration(inn, storage);
        if (!preview) return abandonDocument(ctx, preview);
        return ctx.done({{"previewed", true},
                         {"open", std::string("registration: close it with `document close "
                                              "registration --inn ... --storage-number ...` "
                                              "or `document cancel`")}});
    }
    auto closed = ctx.reg.closeRegistration(inn, storage);
    if (!closed) return abandonDocument(ctx, closed);
    return ctx.done(closeReplyFields(closed.value()));
}

// A document without values of its own: open, then close with `closeData`.
int openAndClose(Context& ctx, const Args& args, DocumentType type, const Bytes& closeData) {
    if (int status = cashierNameOption(ctx, args)) return status;
    auto open = ctx.reg.openDocument(type, args.value("--cashier-name"));
    if (!open) return ctx.failed(open);
    auto closed = ctx.reg.closeDocument(type, closeData);
    if (!closed) return abandonDocument(ctx, closed);
    return ctx.done(closeReplyFields(closed.value()));
}

int runShiftOpen(Context& ctx, const Args& args) {
    return openAndClose(ctx, args, DocumentType::ShiftOpen, {});
}

int runShiftClose(Context& ctx, const Args& args) {
    return openAndClose(ctx, args, DocumentType::ShiftClose, {});
}

int runCash(Context& ctx, const Args& args, DocumentType type) {
    std::int64_t amount = 0;
    std::string error;
    if (!parseHundredths(args.positional[0], amount, "the amount", error))
        return ctx.fail(kUsage, error);
    if (type == DocumentType::CashIn)
        if (auto broken = hostkit::rules::cashInAmount(amount)) return ctx.fail(kUsage, *broken);
    if (amount <= 0) return ctx.fail(kUsage, "a cash-out is above 0.00");
    return openAndClose(ctx, args, type, hostkit::amountCloseData(amount));
}

int runCashIn(Context& ctx, const Args& args) { return runCash(ctx, args, DocumentType::CashIn); }

int runCashOut(Context& ctx, const Args& args) { return runCash(ctx, args, DocumentType::CashOut); }

// The receipt's items and text lines, in the order given: a text line
// prints after the items before it.
struct ReceiptLine {
    bool isItem;
    hostkit::Position item;
    std::string text;
};

int runReceipt(Context& ctx, const Args& args, hostkit::ReceiptKind kind) {
    std::vector<ReceiptLine> lines;
    bool anyItem = false;
    for (const auto& [name, value] : args.options) {
        ReceiptLine line{name == "--item", {}, value};
        std::string error, cp866;
        if (line.isItem && !parseItem(value, line.item, error))
            return ctx.fail(kUsage, "--item: " + error);
        if (name == "--text")
            if (auto broken =
                    hostkit::rules::text(value, "--text", 1, hostkit::rules::kTextLine, cp866))
                return ctx.fail(kUsage, *broken);
        if (line.isItem || name == "--text") lines.push_back(line);
        anyItem = anyItem || line.isItem;
    }
    if (!anyItem) return ctx.fail(kUsage, "give at least one --item");
    std::int64_t cash = 0, nonCash = 0;
    if (int status = amountOption(ctx, args, "--cash", cash)) return status;
    if (int status = amountOption(ctx, args, "--non-cash", nonCash)) return status;
    if (int status = cashierNameOption(ctx, args)) return status;

    auto open = ctx.reg.openReceipt(kind, args.value("--cashier-name"));
    if (!open) return ctx.failed(open);
    for (const ReceiptLine& line : lines) {
        auto added = line.isItem ? ctx.reg.addPosition(line.item) : ctx.reg.addTextLine(line.text);
        if (!added) return abandonDocument(ctx, added);
    }
    auto closed = ctx.reg.closeReceipt(cash, nonCash);
    if (!closed) return abandonDocument(ctx, closed);
    return ctx.done(closeReplyFields(closed.value()));
}

const Option kCashierNameOption{"--cashier-name", "NAME",
                                "the name this document prints instead of the cashier's own"};

Command receiptCommand(hostkit::ReceiptKind kind) {
    const std::string name = "receipt " + std::string(hostkit::receiptKindName(kind));
    return {name,
            "--item ITEM... [--text TEXT...] [--cash A] [--non-cash A]",
            "a whole receipt of this kind (commands 21, 7 for each item and text, 22): paid "
            "--cash and --non-cash; with neither, exactly in cash",
            {{"--item", "ITEM",
              "NAME:PRICE[xQTY][:section=N][:tax=N][:discount=N|:discount-sum=A][:code=C]"
              "[:unit=U][:extra=TEXT], as Хлеб:45.50x2:tax=1",
              true},
             {"--text", "TEXT", "a text line, printed after the items before it", true},
             {"--cash", "A", "cash tendered; the change is worked out"},
             {"--non-cash", "A", "paid otherwise than in cash"},
             kCashierNameOption},
            0,
            0,
            true,
            [kind](Context& ctx, const Args& args) { return runReceipt(ctx, args, kind); }};
}

}  // namespace

void addDocumentCommands(CommandTable& table) {
    table.push_back(
        {"register",
         "--inn N --storage-number N --text1 T --text2 T --text3 T --tax TAX... [--preview]",
         "a registration report (commands 8, 7 for each text and tax, then 9 with the taxpayer "
         "and storage numbers); --preview prints it with command 32 and leaves it open",
         {{"--inn", "N", "the taxpayer number, 10 to 12 digits"},
          {"--storage-number", "N", "the storage number, 10 to 16 digits"},
          {"--text1", "TEXT", "first text of the registration (1 to 255 characters)"},
          {"--text2", "TEXT", "second text"},
          {"--text3", "TEXT", "third text"},
          {"--tax", "TAX",
           "N:NAME:KIND:RATE, as \"1:НДС 20%:on-top:20.00\"; KIND no-tax, "
           "contained or on-top",
           true},
          {"--preview", "", "print a preview (command 32) instead of closing"},
          kCashierNameOption},
         0,
         0,
         true,
         runRegister});
    table.push_back({"shift open",
                     "",
                     "open a shift (commands 17, 18)",
                     {kCashierNameOption},
                     0,
                     0,
                     true,
                     runShiftOpen});
    table.push_back({"shift close",
                     "",
                     "close the shift: the Z report (commands 19, 20)",
                     {kCashierNameOption},
                     0,
                     0,
                     true,
                     runShiftClose});
    table.push_back({"cash in",
                     "AMOUNT",
                     "put cash into the drawer (commands 162, 163)",
                     {kCashierNameOption},
                     1,
                     1,
                     true,
                     runCashIn});
    table.push_back({"cash out",
                     "AMOUNT",
                     "take cash out of the drawer (commands 164, 165)",
                     {kCashierNameOption},
                     1,
                     1,
                     true,
                     runCashOut});
    for (auto kind : {hostkit::ReceiptKind::Sale, hostkit::ReceiptKind::Purchase,
                      hostkit::ReceiptKind::ReturnOfSale, hostkit::ReceiptKind::ReturnOfPurchase})
        table.push_back(receiptCommand(kind));
}

}  // namespace hosttool
