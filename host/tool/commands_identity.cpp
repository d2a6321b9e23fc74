// okta-host status, model, key, reg-tag, set-serial: the register's state and
// identity (commands 16, 48, 49, 50, 68) and setting its factory number (63).
// The layouts are decoded here from the bytes, independently of the
// register's own code.

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "common/cp866.h"
#include "host/cli.h"
#include "host/values.h"

namespace hostkit {

namespace {

constexpr std::size_t kStatusSize = 21;
constexpr std::size_t kShiftStateSize = 29;
constexpr std::size_t kModelSize = 44;
constexpr std::size_t kKeyAnswerSize = 27;

// The device state flags with their names.
struct FlagName {
    std::uint16_t mask;
    const char* name;
};
constexpr FlagName kFlags[] = {
    {0x0001, "archiveMounted"}, {0x0002, "fiscalized"},     {0x0004, "foreignArchive"},
    {0x0008, "shiftOpen"},      {0x0010, "archiveReady"},   {0x0020, "archiveClosed"},
    {0x0040, "eepromError"},    {0x1000, "printerOffline"}, {0x2000, "paperNearEnd"},
    {0x4000, "paperOut"},
};

std::vector<std::string> flagNames(std::uint16_t flags) {
    std::vector<std::string> names;
    for (const FlagName& f : kFlags)
        if (flags & f.mask) names.push_back(f.name);
    return names;
}

std::string hex16(std::uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", v);
    return text;
}

// Seconds since 1970 as local date and time; "-" for 0.
std::string timeText(std::uint32_t seconds) { return seconds == 0 ? "-" : localTimeText(seconds); }

std::string utf8(const Bytes& cp866Bytes) { return cp866::toUtf8(toString(cp866Bytes)); }

// Command 48: factory number, then the 21-byte device status.
void addDeviceStatus(const Bytes& data, Fields& out) {
    const std::size_t serialSize = data.size() - kStatusSize;
    le::Reader r(data.data() + serialSize, kStatusSize);
    const std::uint16_t flags = r.u16();
    out.push_back({"factoryNumber", toString(Bytes(data.begin(), data.begin() + serialSize))});
    out.push_back({"flags", hex16(flags)});
    out.push_back({"flagNames", flagNames(flags)});
    out.push_back({"registrationCount", static_cast<unsigned long long>(r.u8())});
    out.push_back({"statusFormat", static_cast<unsigned long long>(r.u8())});
    out.push_back({"shiftNumber", static_cast<unsigned long long>(r.u16())});
    out.push_back({"lastDocumentNumber", static_cast<unsigned long long>(r.u32())});
    out.push_back({"lastDocumentTime", timeText(r.u32())});
    out.push_back({"shiftReceipts", static_cast<unsigned long long>(r.u16())});
    out.push_back({"openDocumentType", static_cast<unsigned long long>(r.u8())});
    out.push_back({"freeDocumentPlaces", static_cast<unsigned long long>(r.u32())});
}

// Command 16: shift open, shift number, receipts, then the 24-byte shift status.
void addShiftState(const Bytes& data, Fields& out) {
    le::Reader r(data);
    out.push_back({"shiftOpen", r.u8() != 0});
    r.u16();  // the shift number and receipts, as in the device status
    r.u16();
    out.push_back({"shiftOpenDocument", static_cast<unsigned long long>(r.u32())});
    out.push_back({"shiftOpenTime", timeText(r.u32())});
    out.push_back({"shiftLastDocument", static_cast<unsigned long long>(r.u32())});
    out.push_back({"shiftCloseTime", timeText(r.u32())});
    out.push_back({"cashInDrawer", hundredthsText(static_cast<std::int64_t>(r.u64()))});
}

int runStatus(Context& ctx, std::vector<std::string>&) {
    Response status, shift;
    if (int rc = ctx.call(48, {}, status)) return rc;
    if (status.data.size() < kStatusSize || status.data.size() > kStatusSize + 10)
        return fail(ctx, kNoLink,
                    "device status answer of " + std::to_string(status.data.size()) + " bytes");
    if (int rc = ctx.call(16, {}, shift)) return rc;
    if (shift.data.size() != kShiftStateSize)
        return fail(ctx, kNoLink, "shift state answer is not 29 bytes");
    Fields fields;
    addDeviceStatus(status.data, fields);
    addShiftState(shift.data, fields);
    ctx.print(fields);
    return kOk;
}

int runModel(Context& ctx, std::vector<std::string>&) {
    Response r;
    if (int rc = ctx.call(49, {}, r)) return rc;
    if (r.data.size() != kModelSize) return fail(ctx, kNoLink, "model answer is not 44 bytes");
    // A field's text ends at its first zero byte.
    auto text = [&r](std::size_t offset, std::size_t size) {
        auto begin = r.data.begin() + static_cast<std::ptrdiff_t>(offset);
        return Bytes(begin, std::find(begin, begin + static_cast<std::ptrdiff_t>(size), 0));
    };
    ctx.print({{"modelCode", hex16(le::u16(r.data.data()))},
               {"factoryNumber", toString(text(2, 10))},
               {"modelName", utf8(text(12, 32))}});
    return kOk;
}

int runKey(Context& ctx, std::vector<std::string>&) {
    Response r;
    if (int rc = ctx.call(50, {}, r)) return rc;
    if (r.data.size() != kKeyAnswerSize) return fail(ctx, kNoLink, "key answer is not 27 bytes");
    const std::string version = std::to_string(r.data[0]) + "." + std::to_string(r.data[1]) + "." +
                                std::to_string(r.data[2]);
    ctx.print({{"version", version},
               {"keyFormat", hexUpper(r.data.data() + 3, 8)},
               {"deviceKey", hexUpper(r.data.data() + 11, 16)}});
    return kOk;
}

constexpr const char* kTaxKinds[] = {"no tax", "contained", "on top", "not set"};

// A tax container's children (13102 kind, 13103 rate in hundredths of a
// percent, 13104 name) as fields; false when the value is not such a
// container.
bool addTaxFields(const Bytes& value, Fields& out) {
    Fields fields;
    le::Reader r(value);
    while (r.remaining() > 0) {
        const std::uint16_t tag = r.u16();
        const std::uint16_t length = r.u16();
        const Bytes child = r.bytes(length);
        if (r.failed()) return false;
        if (tag == 13102 && length == 1)
            fields.push_back({"taxKind", std::string(kTaxKinds[child[0] & 3])});
        else if (tag == 13103 && length == 2)
            fields.push_back({"taxRate", hundredthsText(le::u16(child.data()) & 0x3FFF) + "%"});
        else if (tag == 13104)
            fields.push_back({"taxName", utf8(child)});
        else
            return false;
    }
    out.insert(out.end(), fields.begin(), fields.end());
    return true;
}

// The value of a registration tag, readable: texts in UTF-8 (a trailing
// zero byte of a full field dropped), numbers in decimal, taxes by their
// kind, rate and name; anything else in hex.
void addTagValue(std::uint16_t tag, const Bytes& value, Fields& out) {
    switch (tag) {
        case 11012:
            if (value.size() != 4) break;
            out.push_back({"value", timeText(le::u32(value.data()))});
            return;
        case 11041:
            if (value.size() != 4) break;
            out.push_back({"value", static_cast<unsigned long long>(le::u32(value.data()))});
            return;
        case 11009:
        case 11018:
        case 11037:
        case 11048:
        case 11187: {
            Bytes text = value;
            if (!text.empty() && text.back() == 0) text.pop_back();
            out.push_back({"value", utf8(text)});
            return;
        }
        default:
            if (tag >= 13105 && tag <= 13109 && addTaxFields(value, out)) return;
            break;
    }
    out.push_back({"value", hexUpper(value)});
}

int runRegTag(Context& ctx, std::vector<std::string>& args) {
    long long tag = 0;
    if (args.size() != 1 || !parseNumber(args[0], 0, 65535, tag))
        return fail(ctx, kUsage, "reg-tag takes a tag number 0 ... 65535");
    Bytes request;
    le::put16(request, static_cast<std::uint16_t>(tag));
    Response r;
    if (int rc = ctx.call(68, request, r)) return rc;
    Fields fields{{"tag", tag}};
    if (r.data.empty()) {
        fields.push_back({"served", false});
    } else {
        le::Reader reader(r.data);
        const std::uint16_t answeredTag = reader.u16();
        const std::uint16_t length = reader.u16();
        if (reader.failed() || answeredTag != tag || reader.remaining() != length)
            return fail(ctx, kNoLink, "malformed tagged value: " + hexUpper(r.data));
        fields.push_back({"served", true});
        fields.push_back({"length", static_cast<long long>(length)});
        addTagValue(answeredTag, reader.rest(), fields);
    }
    ctx.print(fields);
    return kOk;
}

int runSetSerial(Context& ctx, std::vector<std::string>& args) {
    if (args.size() != 1) return fail(ctx, kUsage, "set-serial takes the factory number");
    Bytes request = ctx.cashierPrefix();
    le::putText(request, args[0]);
    Response r;
    if (int rc = ctx.call(63, request, r)) return rc;
    ctx.print({{"factoryNumber", args[0]}});
    return kOk;
}

}  // namespace

void addIdentityCommands(CommandTable& table) {
    table.push_back({"status", "", "device and shift status (commands 48 and 16)", runStatus});
    table.push_back({"model", "", "factory data: model code, number, name (command 49)", runModel});
    table.push_back({"key", "", "device key (command 50)", runKey});
    table.push_back(
        {"reg-tag", "TAG", "one field of the registration data (command 68)", runRegTag});
    table.push_back(
        {"set-serial", "DIGITS", "set the factory number, once (command 63)", runSetSerial});
}

}  // namespace hostkit
