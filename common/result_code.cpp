#include "common/result_code.h"

std::string_view resultCodeText(int code) {
    switch (code) {
        case 0: return "success";
        case 3: return "no document object for the type, or the document is unfit to store";
        case 4: return "the document could not be serialised for the archive";
        case 5: return "the document archive is not ready, or an archive read or write failed";
        case 6: return "too little room left for documents";
        case 7: return "data too long for the document or the archive";
        case 8: return "request not served: no serial port or no result from the core";
        case 9: return "frame check sum mismatch";
        case 10: return "unknown command code";
        case 11: return "frame length error";
        case 12: return "no frame start";
        case 13: return "factory data not valid";
        case 14: return "unknown registration data tag";
        case 15: return "no document archive medium";
        case 16: return "the cashier lacks the right for this operation";
        case 17: return "record not found";
        case 18: return "wrong cashier password or cashier not usable";
        case 19: return "cashier prefix too short, cashier number out of range, or record number missing";
        case 20: return "unknown record type or parameter, or a value the parameter does not accept";
        case 21: return "the record could not be written";
        case 22: return "request data of the wrong length or form";
        case 23: return "the clock is earlier than the last document or the build instant";
        case 24: return "the factory data is already valid";
        case 25: return "EEPROM failure, or the device key is empty";
        case 26: return "a shift is open";
        case 27: return "no shift is open";
        case 28: return "a document is already open";
        case 29: return "no document is open";
        case 30: return "the type does not fit";
        case 31: return "the fiscal archive is closed";
        case 32: return "the archive belongs to another device";
        case 33: return "registration limit reached";
        case 34: return "tagged value not accepted by the open document";
        case 35: return "a tax container does not decode or has an empty name";
        case 36: return "the sealed registration data is not valid";
        case 37: return "a required tagged value is missing";
        case 38: return "registration data absent or not valid";
        case 39: return "malformed data of the open command";
        case 40: return "cash in the drawer is zero";
        case 41: return "cash-in amount too large";
        case 42: return "receipt kind missing or out of range";
        case 43: return "section not found";
        case 44: return "discount not found";
        case 45: return "tax not found";
        case 46: return "receipt position not valid";
        case 47: return "payments below the receipt total";
        case 48: return "payments above the total where no change is given";
        case 50: return "3000 receipts in the shift reached";
        case 51: return "the open shift is older than 24 hours";
        case 53: return "printer not answering";
        case 54: return "printer out of paper";
        case 255: return "result not set";
        default: return "unknown result code";
    }
}
