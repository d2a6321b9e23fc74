#include "link/link_commands.h"

#include "config/identity.h"
#include "config/reg_data_tags.h"
#include "state/status.h"

namespace {

constexpr std::uint8_t kVersion[] = {0x00, 0x01, 0x00};  // 0.1.0
// What command 50 sends between the version and the key.
constexpr std::uint8_t kKeyPreamble[] = {0x3E, 0, 0, 0, 0, 0, 0, 0};
constexpr std::uint8_t kPrinterStatusQuery = 192;

Bytes versionBytes() { return Bytes(std::begin(kVersion), std::end(kVersion)); }

bool factoryDataValid() { return identity::store().factoryData()->isValid(); }

CoreApiResult shiftState() {
    if (!factoryDataValid()) return CoreApiResult(ResultCode::FactoryDataInvalid);
    FrStatus::StatusStruct status;
    FrStatus::CycleStatus cycle;
    FrStatus::status().snapshot(status, cycle);
    Bytes data;
    le::put8(data, (status.flags & FrStatus::shiftOpen) ? 1 : 0);
    le::put16(data, status.shiftNumber);
    le::put16(data, status.shiftReceipts);
    le::putBytes(data, cycle.encode());
    return CoreApiResult(ResultCode::Success, std::move(data));
}

CoreApiResult deviceStatus(const CoreTransaction& t, IProcessingQueue* core) {
    if (core) {
        // Only the query's effect on the printer flags counts.
        CoreTransaction query = t;
        query.command = kPrinterStatusQuery;
        CoreApiResult ignored;
        core->exec(query, ignored);
    }
    auto factory = identity::store().factoryData();
    if (!factory->isValid()) return CoreApiResult(ResultCode::FactoryDataInvalid);
    FrStatus::StatusStruct status;
    FrStatus::CycleStatus cycle;
    FrStatus::status().snapshot(status, cycle, true);
    Bytes data = toBytes(factory->serialText());
    le::putBytes(data, status.encode());
    return CoreApiResult(ResultCode::Success, std::move(data));
}

CoreApiResult factoryData() {
    auto factory = identity::store().factoryData();
    if (!factory->isValid()) return CoreApiResult(ResultCode::FactoryDataInvalid);
    Bytes data = factory->encode();
    data.resize(ModelData::kPublicSize);
    return CoreApiResult(ResultCode::Success, std::move(data));
}

CoreApiResult deviceKey() {
    const Bytes key = identity::store().deviceKey();
    if (key.empty()) return CoreApiResult(ResultCode::EepromError);
    Bytes data = versionBytes();
    le::putBytes(data, kKeyPreamble, sizeof kKeyPreamble);
    le::putBytes(data, key);
    return CoreApiResult(ResultCode::Success, std::move(data));
}

CoreApiResult registrationField(const Bytes& request) {
    if (request.size() != 2) return CoreApiResult(ResultCode::BadDataLength);
    auto reg = identity::store().registrationData();
    if (!reg->isValid()) return CoreApiResult(ResultCode::RegistrationDataInvalid);
    Bytes encoded;
    // A tag the record does not serve is answered with no data.
    registrationTag(*reg, le::u16(request.data()), encoded);
    return CoreApiResult(ResultCode::Success, std::move(encoded));
}

}  // namespace

bool serveLinkCommand(const CoreTransaction& t, CoreApiResult& result, IProcessingQueue* core) {
    switch (t.command) {
        case 16:
            result = shiftState();
            break;
        case 48:
            result = deviceStatus(t, core);
            break;
        case 49:
            result = factoryData();
            break;
        case 50:
            result = deviceKey();
            break;
        case 51:
            result = CoreApiResult(ResultCode::Success, versionBytes());
            break;
        case 68:
            result = registrationField(t.data);
            break;
        default:
            return false;
    }
    result.id = t.id;
    return true;
}
