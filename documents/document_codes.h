#pragma once
// The command codes of the document commands. Each open and close command
// names one document type; opening it needs one of the cashier rights
// given beside it.

#include <array>
#include <cstdint>

#include "config/cashiers.h"
#include "state/status.h"

namespace document_codes {

constexpr std::uint8_t kCancel = 6;
constexpr std::uint8_t kAdd = 7;
constexpr std::uint8_t kPreview = 32;
constexpr std::uint8_t kState = 176;

struct TypeCodes {
    std::uint8_t type;
    std::uint8_t open;
    std::uint8_t close;
    std::uint16_t openingRights;  // any one of them admits
};

// Shift and cash documents are for every cashier who works the till;
// receipts need a right to sell or to return.
constexpr std::uint16_t kTillRights = kRightSale | kRightReturn | kRightReports;

constexpr std::array<TypeCodes, 7> kTypes = {{
    {FrStatus::registrationDoc, 8, 9, kRightRegistration},
    {FrStatus::shiftCloseDoc, 19, 20, kTillRights},
    {FrStatus::receiptDoc, 21, 22, kRightSale | kRightReturn},
    {FrStatus::archiveCloseDoc, 24, 25, kRightRegistration},
    {FrStatus::cashInDoc, 162, 163, kTillRights},
    {FrStatus::cashOutDoc, 164, 165, kTillRights},
    {FrStatus::shiftOpenDoc, 17, 18, kTillRights},
}};

// The row of an open or a close code; null for any other code.
constexpr const TypeCodes* forOpenCode(std::uint8_t code) {
    for (const TypeCodes& row : kTypes)
        if (row.open == code) return &row;
    return nullptr;
}
constexpr const TypeCodes* forCloseCode(std::uint8_t code) {
    for (const TypeCodes& row : kTypes)
        if (row.close == code) return &row;
    return nullptr;
}

}  // namespace document_codes
