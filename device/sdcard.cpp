#include "device/sdcard.h"

#include <algorithm>

#include "common/diagnostics.h"
#include "platform/board.h"
#include "platform/files.h"

namespace sdcard {

bool mountSdCard() {
    if (!platform::fileExists(kDeviceNode)) {
        diagnosticLine("NO SD CARD");
        return false;
    }
    if (!platform::fileExists(kMountPoint) && !platform::makeDirectory(kMountPoint)) {
        diagnosticLine("NO MOUNT POINT");
        return false;
    }
    if (sdCardMounted()) return true;
    // The mount command's own report is not trusted: the mount state decides.
    (void)platform::board().mountCard();
    if (!sdCardMounted()) {
        diagnosticLine("SD CARD MOUNT ERROR");
        return false;
    }
    return true;
}

bool sdCardMounted() { return platform::board().cardMounted(); }

std::string archivePath() {
    if (!sdCardMounted()) return {};
    return std::string(kMountPoint) + std::string(kArchiveFileName);
}

std::uint64_t usableSdBytes() {
    if (!sdCardMounted()) return 0;
    return platform::board().cardAvailableBytes() / 10 * 8;
}

std::uint32_t computeFreeDocumentPlaces() {
    // Capped in 64 bits: a failed query reports the largest byte count, whose
    // place count does not fit 32 bits.
    std::uint64_t places = usableSdBytes() / kDocumentRoomBytes;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(places, kMaxFreeDocumentPlaces));
}

}  // namespace sdcard
