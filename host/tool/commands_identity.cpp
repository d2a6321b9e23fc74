// okta-host status, model, key, reg-tag, set-serial: the register's state and
// identity (commands 16, 48, 49, 50, 68) and setting its factory number (63).

#include <cstdio>

#include "common/cp866.h"
#include "host/rules.h"
#include "host/tool/cli.h"
#include "host/tool/values.h"

namespace hosttool {

namespace {

std::string hex16(std::uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", v);
    return text;
}

int runStatus(Context& ctx, const Args&) {
    auto device = ctx.reg.deviceStatus();
    if (!device) return ctx.failed(device);
    auto shift = ctx.reg.shiftState();
    if (!shift) return ctx.failed(shift);
    const hostkit::DeviceStatus& d = device.value();
    const hostkit::ShiftState& s = shift.value();
    return ctx.done({
        {"factoryNumber", d.factoryNumber},
        {"flags", hex16(d.flags)},
        {"flagNames", hostkit::deviceFlagNames(d.flags)},
        {"registrationCount", number(d.registrationCount)},
        {"statusFormat", number(d.statusFormat)},
        {"shiftNumber", number(d.shiftNumber)},
        {"lastDocumentNumber", number(d.lastDocumentNumber)},
        {"lastDocumentTime", timeValue(d.lastDocumentTime)},
        {"shiftReceipts", number(d.shiftReceipts)},
        {"openDocumentType", number(d.openDocumentType)},
        {"freeDocumentPlaces", number(d.freeDocumentPlaces)},
        {"shiftOpen", s.open},
        {"shiftOpenDocument", number(s.openDocumentNumber)},
        {"shiftOpenTime", timeValue(s.openTime)},
        {"shiftLastDocument", number(s.closeDocumentNumber)},
        {"shiftCloseTime", timeValue(s.closeTime)},
        {"cashInDrawer", moneyValue(s.cashInDrawer)},
    });
}

int runModel(Context& ctx, const Args&) {
    auto r = ctx.reg.model();
    if (!r) return ctx.failed(r);
    return ctx.done({{"modelCode", hex16(r->modelCode)},
                     {"factoryNumber", r->factoryNumber},
                     {"modelName", r->modelName}});
}

int runKey(Context& ctx, const Args&) {
    auto r = ctx.reg.deviceKey();
    if (!r) return ctx.failed(r);
    return ctx.done({{"version", r->version.text()},
                     {"keyFormat", hexUpper(r->keyFormat)},
                     {"deviceKey", hexUpper(r->deviceKey)}});
}

constexpr const char* kTaxKinds[] = {"no tax", "contained", "on top", "not set"};

// The value of a registration tag, readable: texts in UTF-8 (a trailing zero
// byte of a full field dropped), numbers in decimal, times in local time,
// taxes by kind, rate and name; anything else in hexadecimal.
void addTagValue(const hostkit::Tlv& t, Fields& out) {
    switch (t.tag) {
        case 11012:
            if (t.value.size() != 4) break;
            out.push_back({"value", timeValue(le::u32(t.value.data()))});
            return;
        case 11041:
            if (t.value.size() != 4) break;
            out.push_back({"value", number(le::u32(t.value.data()))});
            return;
        case 11009:
        case 11018:
        case 11037:
        case 11048:
        case 11187: {
            Bytes text = t.value;
            if (!text.empty() && text.back() == 0) text.pop_back();
            out.push_back({"value", cp866::toUtf8(toString(text))});
            return;
        }
        default:
            if (auto tax = hostkit::decodeTaxTlv(t)) {
                out.push_back({"taxKind", std::string(kTaxKinds[static_cast<int>(tax->kind)])});
                out.push_back({"taxRate", hundredthsText(tax->rate) + "%"});
                out.push_back({"taxName", tax->name});
                return;
            }
            break;
    }
    out.push_back({"value", hexUpper(t.value)});
}

int runRegTag(Context& ctx, const Args& args) {
    long long tag = 0;
    if (!parseNumber(args.positional[0], 0, 65535, tag))
        return ctx.fail(kUsage, "reg-tag takes a tag number 0 ... 65535");
    auto r = ctx.reg.registrationTag(static_cast<std::uint16_t>(tag));
    if (!r) return ctx.failed(r);
    Fields fields{{"tag", tag}, {"served", r->has_value()}};
    if (r.value()) {
        fields.push_back({"length", static_cast<long long>(r.value()->value.size())});
        addTagValue(*r.value(), fields);
    }
    return ctx.done(fields);
}

int runSetSerial(Context& ctx, const Args& args) {
    const std::string& digits = args.positional[0];
    if (auto broken = hostkit::rules::factoryNumber(digits)) return ctx.fail(kUsage, *broken);
    auto r = ctx.reg.setFactoryNumber(digits);
    if (!r) return ctx.failed(r);
    return ctx.done({{"factoryNumber", digits}});
}

}  // namespace

void addIdentityCommands(CommandTable& table) {
    table.push_back(
        {"status", "", "device and shift status (commands 48 and 16)", {}, 0, 0, false, runStatus});
    table.push_back({"model",
                     "",
                     "factory data: model code, number, name (command 49)",
                     {},
                     0,
                     0,
                     false,
                     runModel});
    table.push_back({"key", "", "the device key (command 50)", {}, 0, 0, false, runKey});
    table.push_back({"reg-tag",
                     "TAG",
                     "one field of the registration data (command 68)",
                     {},
                     1,
                     1,
                     false,
                     runRegTag});
    table.push_back({"set-serial",
                     "DIGITS",
                     "set the factory number, exactly 10 digits, once in the register's life "
                     "(command 63); a new register answers nothing else of its identity before",
                     {},
                     1,
                     1,
                     true,
                     runSetSerial});
}

}  // namespace hosttool
