#include "core/factory_number_command.h"

#include <algorithm>

#include "config/base_worker.h"
#include "config/cashiers.h"
#include "config/identity.h"
#include "device/eeprom.h"
#include "state/status.h"

namespace {

bool allDigits(const Bytes& b) {
    return std::all_of(b.begin(), b.end(), [](std::uint8_t c) { return c >= '0' && c <= '9'; });
}

CoreApiResult setFactoryNumber(const CoreTransaction& t) {
    const Authorisation auth = BaseWorker::authoriseRequest(t.data);
    if (auth.result != ResultCode::Success) return CoreApiResult(auth.result);

    identity::Store& ids = identity::store();
    const auto current = ids.factoryData();
    if (current->isValid()) return CoreApiResult(ResultCode::FactoryDataAlreadyValid);
    if (auth.payload.size() != ModelData::kSerialSize)
        return CoreApiResult(ResultCode::BadDataLength);
    if (!(auth.cashier.rights & kRightFactory)) return CoreApiResult(ResultCode::NoRight);
    if (!allDigits(auth.payload)) return CoreApiResult(ResultCode::BadDataLength);

    // A number sealed without the key could never be checked once a key
    // exists: refuse rather than write it.
    const Bytes key = ids.deviceKey();
    if (key.empty()) return CoreApiResult(ResultCode::EepromError);

    ModelData updated = *current;
    updated.setModelCode(ModelData::kModelCode);
    updated.setModelName(ModelData::defaultModelName());
    updated.setSerial(toString(auth.payload));
    if (!updated.sealModel(toString(key))) return CoreApiResult(ResultCode::BadDataLength);

    if (!identity::saveFactoryData(updated)) {
        FrStatus::status().setFlag(FrStatus::eepromError, true);
        return CoreApiResult(ResultCode::EepromError);
    }
    ids.publishFactoryData(updated);
    return CoreApiResult(ResultCode::Success);
}

}  // namespace

void addFactoryNumberCommand(CommandTable& table) { table.add(63, setFactoryNumber); }
