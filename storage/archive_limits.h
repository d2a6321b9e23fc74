#pragma once
// Fixed limits of the document archive that more than one layer relies on.

#include <cstddef>
#include <cstdint>

#include "device/sdcard.h"
#include "state/status.h"

namespace archive_limits {

// Header slots in one archive: the most documents it can hold.
constexpr std::uint32_t kDocumentCapacity = sdcard::kMaxFreeDocumentPlaces;

// Entries in the archive's list of registration document numbers: one per
// registration the device allows. The list has no room beyond them, so
// nothing may write entry 50 or later.
constexpr std::size_t kRegistrationListCapacity = FrStatus::kMaxRegistrations;

// Largest stored data of a receipt, and of any other document.
constexpr std::size_t kMaxReceiptDataBytes = 32'768;
constexpr std::size_t kMaxDocumentDataBytes = 4'096;

static_assert(kMaxReceiptDataBytes == sdcard::kDocumentRoomBytes);

}  // namespace archive_limits
