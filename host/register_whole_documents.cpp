// Whole documents in one call: the open, the values and the close of the
// shift, cash and receipt documents, cancelled when a step after the open
// is refused, so that the register is never left with a half-built
// document.

#include "host/register.h"
#include "host/rules.h"

namespace hostkit {

namespace {

// The failure of a step after the open. A refused step cancels the
// document; after a failure of the line nothing more is sent.
template <typename T>
Result<CloseReply> cancelled(Register& reg, const Result<T>& step) {
    if (step.refusal()) reg.cancelDocument();
    return step.template failure<CloseReply>();
}

}  // namespace

Result<CloseReply> Register::wholeDocument(DocumentType type, const Bytes& closeData,
                                           std::string_view cashierName) {
    auto open = openDocument(type, cashierName);
    if (!open) return open.failure<CloseReply>();
    auto closed = closeDocument(type, closeData);
    if (!closed) return cancelled(*this, closed);
    return closed;
}

Result<CloseReply> Register::openShift(std::string_view cashierName) {
    return wholeDocument(DocumentType::ShiftOpen, {}, cashierName);
}

Result<CloseReply> Register::closeShift(std::string_view cashierName) {
    return wholeDocument(DocumentType::ShiftClose, {}, cashierName);
}

Result<CloseReply> Register::cashIn(std::int64_t amount) {
    if (auto broken = rules::cashInAmount(amount)) return Rejected{*broken};
    return wholeDocument(DocumentType::CashIn, amountCloseData(amount));
}

Result<CloseReply> Register::cashOut(std::int64_t amount) {
    if (amount <= 0) return Rejected{"a cash-out is above 0.00"};
    return wholeDocument(DocumentType::CashOut, amountCloseData(amount));
}

Result<CloseReply> Register::sell(const std::vector<Position>& positions, std::int64_t cash,
                                  std::int64_t nonCash, ReceiptKind kind) {
    if (positions.empty()) return Rejected{"a receipt holds at least one position"};
    if (cash < 0 || nonCash < 0) return Rejected{"payments are 0.00 or more"};
    for (const Position& p : positions)
        if (auto problem = positionProblem(p)) return Rejected{*problem};
    auto open = openReceipt(kind);
    if (!open) return open.failure<CloseReply>();
    for (const Position& p : positions) {
        auto added = addPosition(p);
        if (!added) return cancelled(*this, added);
    }
    auto closed = closeReceipt(cash, nonCash);
    if (!closed) return cancelled(*this, closed);
    return closed;
}

}  // namespace hostkit
