#include "host/tool/document_output.h"

#include "host/tool/values.h"

namespace hosttool {

Fields closeReplyFields(const hostkit::CloseReply& r) {
    Fields f{{"documentNumber", number(r.documentNumber)},
             {"fiscalSign", number(r.fiscalSign)},
             {"dateTime", timeValue(r.dateTime)}};
    if (r.shiftNumber) f.push_back({"shiftNumber", number(*r.shiftNumber)});
    if (r.receiptNumber) f.push_back({"receiptNumber", number(*r.receiptNumber)});
    if (r.total) f.push_back({"total", moneyValue(*r.total)});
    if (r.change) f.push_back({"change", moneyValue(*r.change)});
    if (r.cashInDrawer) f.push_back({"cashInDrawer", moneyValue(*r.cashInDrawer)});
    return f;
}

Fields cancelOpenDocument(Context& ctx) { return {{"cancelled", ctx.reg.cancelDocument().ok()}}; }

}  // namespace hosttool
