#include "config/config_worker.h"

#include <algorithm>

#include "config/cashiers.h"
#include "config/discounts.h"
#include "config/fr_settings.h"
#include "config/printer_settings.h"
#include "config/sections.h"
#include "platform/board.h"
#include "state/status.h"

namespace {

constexpr std::uint8_t kFirstRecordType = ConfigWorker::kCashierRecord;
constexpr std::uint8_t kLastRecordType = ConfigWorker::kDiscountRecord;

std::uint16_t rightFor(std::uint8_t type) {
    return type == ConfigWorker::kCashierRecord ? kRightCashiers : kRightReferenceData;
}

bool holds(const Cashier& c, std::uint16_t right) { return (c.rights & right) != 0; }

// The cashier prefix and the record type byte of commands 1 and 2. When the
// prefix is accepted and a type byte is there, it is taken off the payload;
// a type outside 1..3 turns the result into 20.
struct RecordRequest {
    Authorisation auth;
    ResultCode result;
    std::uint8_t type = 0;
};

RecordRequest takeRecordRequest(const Bytes& data) {
    RecordRequest r{BaseWorker::authoriseRequest(data), ResultCode::Success};
    r.result = r.auth.result;
    if (r.result == ResultCode::Success && !r.auth.payload.empty()) {
        r.type = r.auth.payload.front();
        r.auth.payload.erase(r.auth.payload.begin());
        if (r.type < kFirstRecordType || r.type > kLastRecordType)
            r.result = ResultCode::UnknownParameter;
    }
    return r;
}

// Writes one record from the host; the result code.
ResultCode writeHostRecord(std::uint8_t type, const Bytes& record, const Cashier& requester) {
    switch (type) {
        case ConfigWorker::kSectionRecord: {
            std::optional<Section> s = decodeSection(record);
            if (!s) return ResultCode::BadDataLength;
            return sections().writeSection(*s) ? ResultCode::Success : ResultCode::WriteFailed;
        }
        case ConfigWorker::kDiscountRecord: {
            std::optional<Discount> d = decodeDiscount(record);
            if (!d) return ResultCode::BadDataLength;
            return discounts().writeDiscount(*d) ? ResultCode::Success : ResultCode::WriteFailed;
        }
        case ConfigWorker::kCashierRecord: {
            std::optional<Cashier> c = decodeCashier(record);
            if (!c) return ResultCode::BadDataLength;
            if (c->number == kServiceCashier) {
                // The service cashier is changed only by itself and keeps every right.
                if (requester.number != kServiceCashier) return ResultCode::NoRight;
                if (c->name.empty()) c->name = requester.name;
                if (c->password == 0) c->password = requester.password;
                c->rights = kAllRights;
            }
            return cashiers().writeCashier(*c) ? ResultCode::Success : ResultCode::WriteFailed;
        }
        default:
            return ResultCode::UnknownParameter;
    }
}

// The prefix check of the setting commands, with the right they need (0 for
// none): its result code.
ResultCode authoriseSetting(const Authorisation& auth, std::uint16_t right) {
    if (auth.result != ResultCode::Success) return auth.result;
    if (right != 0 && !holds(auth.cashier, right)) return ResultCode::NoRight;
    return ResultCode::Success;
}

Bytes valueOf(const Bytes& payload) { return Bytes(payload.begin() + 1, payload.end()); }

}  // namespace

CoreApiResult ConfigWorker::readRecord(const CoreTransaction& t) {
    RecordRequest r = takeRecordRequest(t.data);
    if (!holds(r.auth.cashier, rightFor(r.type))) return CoreApiResult(ResultCode::NoRight);
    if (r.result != ResultCode::Success) return CoreApiResult(r.result);
    const Bytes& payload = r.auth.payload;
    if (payload.empty()) return CoreApiResult(ResultCode::BadCashierPrefix);
    const std::uint8_t number = payload[0];
    std::optional<Bytes> record;
    switch (r.type) {
        case kCashierRecord:
            if (auto c = cashiers().readCashier(number)) record = encodeCashier(*c);
            break;
        case kSectionRecord:
            if (auto s = sections().getSection(number)) record = encodeSection(*s);
            break;
        case kDiscountRecord:
            if (auto d = discounts().getDiscount(number)) record = encodeDiscount(*d);
            break;
    }
    if (!record) return CoreApiResult(ResultCode::NotFound);
    return CoreApiResult(ResultCode::Success, std::move(*record));
}

CoreApiResult ConfigWorker::writeRecord(const CoreTransaction& t) {
    RecordRequest r = takeRecordRequest(t.data);
    const Bytes& echo = r.auth.payload;
    if (r.result != ResultCode::Success) return CoreApiResult(r.result, echo);
    if (!holds(r.auth.cashier, rightFor(r.type))) return CoreApiResult(ResultCode::NoRight, echo);
    return CoreApiResult(writeHostRecord(r.type, echo, r.auth.cashier), echo);
}

CoreApiResult ConfigWorker::readClock(const CoreTransaction&) {
    Bytes now;
    le::put32(now, static_cast<std::uint32_t>(platform::now()));
    return CoreApiResult(ResultCode::Success, std::move(now));
}

CoreApiResult ConfigWorker::setClock(const CoreTransaction& t) {
    const Authorisation auth = authoriseRequest(t.data);
    if (ResultCode rc = authoriseSetting(auth, kRightSettings); rc != ResultCode::Success)
        return CoreApiResult(rc);
    if (auth.payload.size() != 4) return CoreApiResult(ResultCode::BadDataLength);
    const std::int64_t time = le::u32(auth.payload.data());
    const std::int64_t earliest =
        std::max<std::int64_t>(FrStatus::status().lastDocumentTime(), buildInstant());
    if (time < earliest) return CoreApiResult(ResultCode::ClockTooEarly);
    platform::board().setClock(time);
    return CoreApiResult(ResultCode::Success, auth.payload);
}

CoreApiResult ConfigWorker::readDeviceSetting(const CoreTransaction& t) {
    const Authorisation auth = authoriseRequest(t.data);
    if (auth.result != ResultCode::Success) return CoreApiResult(auth.result);
    if (auth.payload.empty()) return CoreApiResult(ResultCode::BadDataLength);
    settings::FrSettings record;
    settings::currentFrSettings(record.roundingMode);
    settings::reloadFrSettings(record.roundingMode);
    Bytes data = settings::getFrParameter(record, auth.payload[0]);
    if (data.empty()) return CoreApiResult(ResultCode::UnknownParameter);
    return CoreApiResult(ResultCode::Success, std::move(data));
}

CoreApiResult ConfigWorker::setDeviceSetting(const CoreTransaction& t) {
    const Authorisation auth = authoriseRequest(t.data);
    if (ResultCode rc = authoriseSetting(auth, kRightSettings); rc != ResultCode::Success)
        return CoreApiResult(rc);
    if (auth.payload.size() < 2) return CoreApiResult(ResultCode::BadDataLength);
    settings::FrSettings record;
    settings::currentFrSettings(record.roundingMode);
    if (!settings::setFrParameter(record, auth.payload[0], valueOf(auth.payload)))
        return CoreApiResult(ResultCode::UnknownParameter);
    if (!settings::saveFrSettings(record)) return CoreApiResult(ResultCode::WriteFailed);
    return CoreApiResult(ResultCode::Success);
}

CoreApiResult ConfigWorker::readPrinterSetting(const CoreTransaction& t) {
    const Authorisation auth = authoriseRequest(t.data);
    if (auth.result != ResultCode::Success) return CoreApiResult(auth.result);
    if (auth.payload.empty()) return CoreApiResult(ResultCode::BadDataLength);
    const settings::PrinterSettings record;
    Bytes data = settings::getPrinterParameter(record, auth.payload[0]);
    if (data.empty()) return CoreApiResult(ResultCode::UnknownParameter);
    return CoreApiResult(ResultCode::Success, std::move(data));
}

CoreApiResult ConfigWorker::setPrinterSetting(const CoreTransaction& t) {
    const Authorisation auth = authoriseRequest(t.data);
    if (ResultCode rc = authoriseSetting(auth, kRightSettings); rc != ResultCode::Success)
        return CoreApiResult(rc);
    if (auth.payload.size() < 2) return CoreApiResult(ResultCode::BadDataLength);
    const std::uint8_t parameter = auth.payload[0];
    const Bytes value = valueOf(auth.payload);
    if (!settings::printerValueComplete(parameter, value))
        return CoreApiResult(ResultCode::BadDataLength);
    settings::PrinterSettings record;
    if (!settings::setPrinterParameter(record, parameter, value))
        return CoreApiResult(ResultCode::UnknownParameter);
    if (!settings::savePrinterSettings(record)) return CoreApiResult(ResultCode::WriteFailed);
    return CoreApiResult(ResultCode::Success);
}

void addConfigCommands(CommandTable& table) {
    using Handler = CoreApiResult (ConfigWorker::*)(const CoreTransaction&);
    const std::pair<std::uint8_t, Handler> rows[] = {
        {1, &ConfigWorker::readRecord},
        {2, &ConfigWorker::writeRecord},
        {3, &ConfigWorker::readClock},
        {4, &ConfigWorker::setClock},
        {64, &ConfigWorker::readDeviceSetting},
        {65, &ConfigWorker::setDeviceSetting},
        {193, &ConfigWorker::readPrinterSetting},
        {194, &ConfigWorker::setPrinterSetting},
    };
    for (const auto& row : rows) {
        const Handler handler = row.second;
        table.add(row.first, [handler](const CoreTransaction& t) {
            ConfigWorker worker;
            return (worker.*handler)(t);
        });
    }
}
