#pragma once
// The document type byte kept in every document, in its stored header and
// as the first byte of its stored data (FrStatus::DocumentType names them):
// 1 registration, 2 shift close, 3 receipt, 4 archive close, 5 cash in,
// 6 cash out, 7 shift open.

#include <cstdint>

#include "state/status.h"

// A type the register knows.
constexpr bool isKnownDocumentType(std::uint8_t type) {
    return type >= FrStatus::registrationDoc && type <= FrStatus::shiftOpenDoc;
}

// A type that is numbered, signed and stored in the archive: every known
// type is one.
constexpr bool isWorkDocumentType(std::uint8_t type) { return isKnownDocumentType(type); }
