// Typed calls for fiscal documents: open, add, close, preview, cancel and
// state (6, 7, 8/9, 17/18, 19/20, 21/22, 24/25, 32, 162/163, 164/165, 176).

#include "host/answer.h"
#include "host/register.h"
#include "host/rules.h"

namespace hostkit {

namespace {

enum : std::uint8_t {
    kCancel = 6,
    kAdd = 7,
    kPreviewRegistration = 32,
    kDocumentState = 176,
};

rules::Broken registrationNumbers(std::string_view taxpayer, std::string_view storage) {
    if (auto broken = rules::taxpayerNumber(taxpayer)) return broken;
    return rules::storageNumber(storage);
}

rules::Broken cashierNameRule(std::string_view name) {
    std::string cp866;
    return rules::text(name, "a cashier's name", 0, rules::kCashierName, cp866);
}

}  // namespace

Result<Done> Register::openDocument(DocumentType type, std::string_view cashierName) {
    if (type == DocumentType::Receipt) return Rejected{"a receipt opens with its kind"};
    if (auto broken = cashierNameRule(cashierName)) return Rejected{*broken};
    return doneAnswer(authorised(openCommand(type), openData(type, {}, cashierName)));
}

Result<Done> Register::openReceipt(ReceiptKind kind, std::string_view cashierName) {
    if (auto broken = cashierNameRule(cashierName)) return Rejected{*broken};
    return doneAnswer(authorised(openCommand(DocumentType::Receipt),
                                 openData(DocumentType::Receipt, kind, cashierName)));
}

Result<Done> Register::addValue(const Tlv& value) {
    if (value.value.size() + 4 > kMaxRequestData)
        return Rejected{"a tagged value carries at most " + std::to_string(kMaxRequestData - 4) +
                        " bytes"};
    return doneAnswer(client_.call(kAdd, encodeTlv(value)));
}

Result<Done> Register::addPosition(const Position& p) {
    if (auto problem = positionProblem(p)) return Rejected{*problem};
    return addValue(positionTlv(p));
}

Result<Done> Register::addTextLine(std::string_view utf8) {
    std::string cp866;
    if (auto broken = rules::text(utf8, "a text line", 1, rules::kTextLine, cp866))
        return Rejected{*broken};
    return addValue(textLineTlv(utf8));
}

Result<Done> Register::addCashierName(std::string_view utf8) {
    std::string cp866;
    if (auto broken = rules::text(utf8, "a cashier's name", 1, rules::kCashierName, cp866))
        return Rejected{*broken};
    return addValue(cashierNameTlv(utf8));
}

Result<Done> Register::addRegistrationText(int which, std::string_view utf8) {
    if (which < 1 || which > 3) return Rejected{"the registration has texts 1, 2 and 3"};
    std::string cp866;
    if (auto broken = rules::text(utf8, "a registration text", 1, rules::kRegistrationText, cp866))
        return Rejected{*broken};
    return addValue(registrationTextTlv(which, utf8));
}

Result<Done> Register::addTax(int index, const Tax& tax) {
    if (index < 0 || index > 4) return Rejected{"the registration has taxes 1 to 5"};
    if (tax.kind == TaxKind::NotSet) return Rejected{"a tax is no tax, contained or on top"};
    if (auto broken = rules::taxRate(tax.rate)) return Rejected{*broken};
    std::string cp866;
    if (auto broken = rules::text(tax.name, "a tax's name", 1, rules::kTaxName, cp866))
        return Rejected{*broken};
    return addValue(taxTlv(index, tax));
}

Result<CloseReply> Register::closeDocument(DocumentType type, const Bytes& closeData) {
    const std::uint8_t command = closeCommand(type);
    return decodeAnswer<CloseReply>(client_.call(command, closeData), command, decodeCloseReply);
}

Result<CloseReply> Register::closeReceipt(std::int64_t cash, std::int64_t nonCash) {
    if (cash < 0 || nonCash < 0) return Rejected{"payments are 0.00 or more"};
    return closeDocument(DocumentType::Receipt, receiptCloseData(cash, nonCash));
}

Result<CloseReply> Register::closeCashDocument(DocumentType type, std::int64_t amount) {
    if (type != DocumentType::CashIn && type != DocumentType::CashOut)
        return Rejected{"only cash-in and cash-out documents close with an amount"};
    if (type == DocumentType::CashIn)
        if (auto broken = rules::cashInAmount(amount)) return Rejected{*broken};
    if (amount <= 0) return Rejected{"a cash-out is above 0.00"};
    return closeDocument(type, amountCloseData(amount));
}

Result<CloseReply> Register::closeRegistration(std::string_view taxpayerNumber,
                                               std::string_view storageNumber) {
    if (auto broken = registrationNumbers(taxpayerNumber, storageNumber)) return Rejected{*broken};
    return closeDocument(DocumentType::Registration,
                         registrationCloseData(taxpayerNumber, storageNumber));
}

Result<Done> Register::previewRegistration(std::string_view taxpayerNumber,
                                           std::string_view storageNumber) {
    if (auto broken = registrationNumbers(taxpayerNumber, storageNumber)) return Rejected{*broken};
    return doneAnswer(
        client_.call(kPreviewRegistration, registrationCloseData(taxpayerNumber, storageNumber)));
}

Result<Done> Register::cancelDocument() { return doneAnswer(client_.call(kCancel)); }

Result<DocumentState> Register::documentState() {
    return decodeAnswer<DocumentState>(client_.call(kDocumentState), kDocumentState,
                                       decodeDocumentState);
}

}  // namespace hostkit
