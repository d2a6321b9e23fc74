#pragma once
// ConfigWorker: serves the host commands that read and change the reference
// data, the clock and the settings. A fresh worker serves one request and
// keeps nothing; the lasting effects go through the tables and settings,
// which hold their own locks. Runs on the core thread.
//
// Every command but 3 begins with the cashier prefix (authoriseRequest).
// Error responses carry no data, except command 2 (see writeRecord).

#include "config/base_worker.h"
#include "state/command_table.h"
#include "state/transaction.h"

class ConfigWorker : public BaseWorker {
  public:
    // Record types of commands 1 and 2.
    static constexpr std::uint8_t kCashierRecord = 1;
    static constexpr std::uint8_t kSectionRecord = 2;
    static constexpr std::uint8_t kDiscountRecord = 3;

    // 1: type, number -> the encoded record. The right for the type is tested
    // against the cashier found even when the prefix was refused, so an
    // unknown cashier gets 16 before any prefix error; then 19/18/20, 19 for a
    // missing number, 17 for a failed read.
    CoreApiResult readRecord(const CoreTransaction& t);
    // 2: type, record -> the record echoed whatever the result (the bytes
    // after the type; the whole payload when the cashier was refused; nothing
    // for a short prefix). 22 for a record of the wrong form, 21 when it
    // could not be written; cashier 20 is written only by itself, keeps its
    // name and password when given none, and always holds every right.
    CoreApiResult writeRecord(const CoreTransaction& t);
    // 3: no prefix -> the current time, u32.
    CoreApiResult readClock(const CoreTransaction& t);
    // 4: new time (exactly 4 bytes) -> the same 4 bytes. Right 0x0004; 23
    // when earlier than the last document or the build instant.
    CoreApiResult setClock(const CoreTransaction& t);
    // 64: parameter -> its bytes, reloading the settings file first.
    CoreApiResult readDeviceSetting(const CoreTransaction& t);
    // 65: parameter, value (1 byte or more) -> nothing. Right 0x0004; 21
    // when the settings file could not be written.
    CoreApiResult setDeviceSetting(const CoreTransaction& t);
    // 193: parameter -> its bytes.
    CoreApiResult readPrinterSetting(const CoreTransaction& t);
    // 194: parameter, value -> nothing. Right 0x0004; parameter 2 needs
    // four value bytes (22 otherwise, nothing written); 21 when the settings
    // file could not be written.
    CoreApiResult setPrinterSetting(const CoreTransaction& t);
};

// The rows of commands 1, 2, 3, 4, 64, 65, 193 and 194: each serves one
// request with a fresh ConfigWorker.
void addConfigCommands(CommandTable& table);
