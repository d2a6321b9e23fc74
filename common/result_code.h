#pragma once
// The one table of result codes: the first byte of every response, and what
// every command handler returns.

#include <cstdint>
#include <string_view>

enum class ResultCode : std::uint8_t {
    Success = 0,
    NoDocumentObject = 3,
    SerialiseFailed = 4,
    ArchiveNotReady = 5,
    NoRoomForDocuments = 6,
    DataTooLong = 7,
    NotServed = 8,
    ChecksumMismatch = 9,
    UnknownCommand = 10,
    FrameLength = 11,
    NoFrameStart = 12,
    FactoryDataInvalid = 13,
    UnknownRegistrationTag = 14,
    NoArchiveMedium = 15,
    NoRight = 16,
    NotFound = 17,
    WrongPassword = 18,
    BadCashierPrefix = 19,
    UnknownParameter = 20,
    WriteFailed = 21,
    BadDataLength = 22,
    ClockTooEarly = 23,
    FactoryDataAlreadyValid = 24,
    EepromError = 25,
    ShiftOpen = 26,
    ShiftNotOpen = 27,
    DocumentAlreadyOpen = 28,
    NoOpenDocument = 29,
    TypeMismatch = 30,
    ArchiveClosed = 31,
    ForeignArchive = 32,
    RegistrationLimit = 33,
    TagNotAccepted = 34,
    BadTaxContainer = 35,
    SealedRegistrationInvalid = 36,
    RequiredTagMissing = 37,
    RegistrationDataInvalid = 38,
    MalformedOpenData = 39,
    DrawerEmpty = 40,
    CashInTooLarge = 41,
    BadReceiptKind = 42,
    SectionNotFound = 43,
    DiscountNotFound = 44,
    TaxNotFound = 45,
    PositionInvalid = 46,
    PaymentsBelowTotal = 47,
    PaymentsAboveTotal = 48,
    ShiftReceiptLimit = 50,
    ShiftTooOld = 51,
    PrinterOffline = 53,
    PaperOut = 54,
    NotSet = 255,
};

constexpr std::uint8_t code(ResultCode rc) { return static_cast<std::uint8_t>(rc); }

// A short English explanation of a result code for people reading the host
// kit's output; "unknown result code" for a value outside the table.
std::string_view resultCodeText(int code);
