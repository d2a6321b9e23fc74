#pragma once
// The SD card that carries the document archive: its first partition,
// mounted at start-up on /mnt/sd/ and never unmounted by the register. Its
// free space, turned into the number of documents that still fit, feeds the
// status field freeDocumentPlaces. Used from the core thread only.

#include <cstdint>
#include <string>
#include <string_view>

namespace sdcard {

constexpr std::string_view kDeviceNode = "/dev/mmcblk0p1";
constexpr std::string_view kMountPoint = "/mnt/sd/";
constexpr std::string_view kArchiveFileName = "V0XD24TX";

// Room kept for one document: the largest document data.
constexpr std::uint64_t kDocumentRoomBytes = 32'768;
// No more places than the archive can ever number.
constexpr std::uint32_t kMaxFreeDocumentPlaces = 250'000;

// Mounts the card unless it is mounted already. Writes "NO SD CARD" (no
// device node, nothing created), "NO MOUNT POINT" (the mount point is
// missing and cannot be made) or "SD CARD MOUNT ERROR" (still not mounted
// after the mount command) and returns false; true when mounted at the end.
bool mountSdCard();

// Whether the card's file system is on the mount point now.
bool sdCardMounted();

// The archive's board path ("/mnt/sd/V0XD24TX") while the card is mounted;
// empty otherwise.
std::string archivePath();

// 8/10 of the card's available bytes (divided by 10 first); 0 when the card
// is not mounted.
std::uint64_t usableSdBytes();

// Documents that still fit: usableSdBytes / 32 768, at most 250 000. Computed
// afresh on every call. A failed space query reports the largest byte
// count, which gives the cap.
std::uint32_t computeFreeDocumentPlaces();

}  // namespace sdcard
