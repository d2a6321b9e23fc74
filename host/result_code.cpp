#include "host/result_code.h"

#include <algorithm>
#include <iterator>

namespace hostkit {

namespace {

// Where a command answers a code for a reason of its own.
struct CommandMeaning {
    std::uint8_t command;
    ResultCode code;
    const char* meaning;
};

constexpr CommandMeaning kCommandMeanings[] = {
    {22, ResultCode::DrawerEmpty, "more cash paid out than the drawer holds"},
    {163, ResultCode::DrawerEmpty, "the amount is not above 0.00"},
    {165, ResultCode::DrawerEmpty,
     "more cash than the drawer holds (or an amount not above 0.00)"},
    {9, ResultCode::NoDocumentObject, "the registration report is unfit to store"},
    {18, ResultCode::NoDocumentObject, "the shift-open document is unfit to store"},
    {20, ResultCode::NoDocumentObject, "the shift-close document is unfit to store"},
    {22, ResultCode::NoDocumentObject, "the receipt is unfit to store"},
    {25, ResultCode::NoDocumentObject, "the archive-close document is unfit to store"},
    {163, ResultCode::NoDocumentObject, "the cash-in document is unfit to store"},
    {165, ResultCode::NoDocumentObject, "the cash-out document is unfit to store"},
    {1, ResultCode::NoRight, "the cashier lacks the right, or the cashier was not found"},
    {50, ResultCode::EepromError, "the device key is empty"},
    {58, ResultCode::NotFound, "nothing to print: no shift opened yet, or no document from there"},
    {177, ResultCode::NotFound, "nothing to report: no shift opened yet, or nothing matched"},
    {178, ResultCode::NotFound, "no such document"},
    {177, ResultCode::TypeMismatch, "unknown report type"},
};

// Commands that open a document: their 3 can only mean that no document
// of the type could be made.
bool opensDocument(std::uint8_t command) {
    switch (command) {
        case 8: case 17: case 19: case 21: case 24: case 162: case 164:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string meaningOf(int code, std::uint8_t command) {
    const auto own = std::find_if(std::begin(kCommandMeanings), std::end(kCommandMeanings),
                                  [&](const CommandMeaning& m) {
                                      return m.command == command &&
                                             static_cast<int>(m.code) == code;
                                  });
    if (command != 0 && own != std::end(kCommandMeanings)) return own->meaning;
    if (code == static_cast<int>(ResultCode::NoDocumentObject) && opensDocument(command))
        return "no document object could be made for the type";
    return std::string(resultCodeText(code));
}

}  // namespace hostkit
