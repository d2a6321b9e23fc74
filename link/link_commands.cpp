#include "link/link_commands.h"

namespace {

constexpr std::uint8_t kVersion[] = {0x00, 0x01, 0x00};  // 0.1.0

CoreApiResult softwareVersion() {
    return CoreApiResult(ResultCode::Success, Bytes(std::begin(kVersion), std::end(kVersion)));
}

}  // namespace

bool serveLinkCommand(const CoreTransaction& t, CoreApiResult& result, IProcessingQueue&) {
    switch (t.command) {
        case 51: result = softwareVersion(); break;
        default: return false;
    }
    result.id = t.id;
    return true;
}
