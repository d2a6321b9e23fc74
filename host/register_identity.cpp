// Typed calls for the register's state and identity (16, 48, 49, 50, 51,
// 68) and its factory number (63).

#include "host/answer.h"
#include "host/register.h"
#include "host/rules.h"

namespace hostkit {

namespace {
enum : std::uint8_t {
    kShiftState = 16,
    kDeviceStatus = 48,
    kModel = 49,
    kKey = 50,
    kVersion = 51,
    kFactoryNumber = 63,
    kRegistrationTag = 68,
};
}  // namespace

Result<ShiftState> Register::shiftState() {
    return decodeAnswer<ShiftState>(client_.call(kShiftState), kShiftState, decodeShiftState);
}

Result<DeviceStatus> Register::deviceStatus() {
    return decodeAnswer<DeviceStatus>(client_.call(kDeviceStatus), kDeviceStatus,
                                      decodeDeviceStatus);
}

Result<ModelInfo> Register::model() {
    return decodeAnswer<ModelInfo>(client_.call(kModel), kModel, decodeModel);
}

Result<KeyInfo> Register::deviceKey() {
    return decodeAnswer<KeyInfo>(client_.call(kKey), kKey, decodeKey);
}

Result<Version> Register::version() {
    return decodeAnswer<Version>(client_.call(kVersion), kVersion, decodeVersion);
}

Result<std::optional<Tlv>> Register::registrationTag(std::uint16_t tag) {
    Bytes request;
    le::put16(request, tag);
    return decodeAnswer<std::optional<Tlv>>(
        client_.call(kRegistrationTag, request), kRegistrationTag,
        [tag](const Bytes& data) -> std::optional<std::optional<Tlv>> {
            if (data.empty()) return std::optional<Tlv>{};  // a tag it does not serve
            auto value = decodeTlv(data);
            if (!value || value->tag != tag) return std::nullopt;
            return value;
        });
}

Result<Done> Register::setFactoryNumber(std::string_view digits) {
    if (auto broken = rules::factoryNumber(digits)) return Rejected{*broken};
    return doneAnswer(authorised(kFactoryNumber, toBytes(digits)));
}

}  // namespace hostkit
