// A refusal as okta-host prints it: the code's meaning for the command that
// was refused and, where a refusal has a usual cause, that cause: a new
// register without its factory number (13), a document before the
// registration (3), the cashier that was tried (18, 19).

#include "host/tool/cli.h"

namespace hosttool {

namespace {

using hostkit::ResultCode;

// Commands that open or close a document other than the registration
// report: before the registration the register can make or store none.
bool documentAfterRegistration(std::uint8_t command) {
    switch (command) {
        case 17: case 18: case 19: case 20: case 21: case 22: case 24: case 25:
        case 162: case 163: case 164: case 165:
            return true;
        default:
            return false;
    }
}

}  // namespace

int Context::refused(const hostkit::Refusal& refusal, const Fields& extra) {
    std::string message = refusal.describe();
    switch (refusal.result()) {
        case ResultCode::FactoryDataInvalid:
            message += "; a new register needs its factory number first: okta-host set-serial "
                       "NNNNNNNNNN";
            break;
        case ResultCode::NoDocumentObject:
            if (documentAfterRegistration(refusal.command)) {
                auto status = reg.deviceStatus();
                if (status && !status->has(hostkit::DeviceFlag::Fiscalized))
                    message += "; the register is not registered: okta-host register first";
            }
            break;
        case ResultCode::WrongPassword:
        case ResultCode::BadCashierPrefix:
            if (cashierSent)
                message += " (tried cashier " + std::to_string(login.number) +
                           (passwordGiven ? " with the password given" : " with the factory password") +
                           ")";
            break;
        default:
            break;
    }
    Fields fields{{"code", static_cast<long long>(refusal.code)},
                  {"meaning", refusal.meaning()}};
    if (auto tag = refusal.missingTag())
        fields.push_back({"missingTag", static_cast<unsigned long long>(*tag)});
    fields.insert(fields.end(), extra.begin(), extra.end());
    return fail(kRefused, message, fields);
}

}  // namespace hosttool
