// A POS program's sale: opens the shift when none is open, then sells two
// loaves and a bottle of milk in one call, paid 200.00 in cash, and shows
// the receipt's number, total and change.
//
//   pos-sale PORT CASHIER PASSWORD
//
// The register must be registered, the cashier allowed to sell.

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include <okta/host/client.h>
#include <okta/host/register.h>

namespace {

// Kopecks as "180.90".
std::string money(std::int64_t kopecks) {
    const std::string cents = std::to_string(100 + kopecks % 100).substr(1);
    return std::to_string(kopecks / 100) + "." + cents;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: pos-sale PORT CASHIER PASSWORD\n";
        return 2;
    }
    hostkit::Client client;
    std::string error;
    if (!client.open(argv[1], error)) {
        std::cerr << error << "\n";
        return 3;
    }
    hostkit::Register reg(client,
                          hostkit::CashierLogin{static_cast<std::uint8_t>(std::atoi(argv[2])),
                                                static_cast<std::uint32_t>(std::atoll(argv[3]))});

    auto shift = reg.shiftState();
    if (!shift) {
        std::cerr << shift.describe() << "\n";
        return 1;
    }
    if (!shift->open) {
        auto opened = reg.openShift();
        if (!opened) {
            std::cerr << "shift not opened: " << opened.describe() << "\n";
            return 1;
        }
        std::cout << "shift " << *opened->shiftNumber << " opened\n";
    }

    hostkit::Position bread;
    bread.name = "Батон нарезной";
    bread.price = 4550;  // kopecks: 45.50
    bread.quantity = 2;
    hostkit::Position milk;
    milk.name = "Молоко 3.2%";
    milk.price = 8990;
    // 200.00 in cash; the register works out the change.
    auto sold = reg.sell({bread, milk}, 20000, 0);
    if (!sold) {
        // A refusal carries its code: the program may act on it.
        if (const hostkit::Refusal* r = sold.refusal();
            r && r->result() == hostkit::ResultCode::ShiftTooOld)
            std::cerr << "the shift is older than 24 hours: close it first\n";
        std::cerr << "not sold: " << sold.describe() << "\n";
        return 1;
    }
    std::cout << "receipt " << *sold->receiptNumber << ": total " << money(*sold->total)
              << ", change " << money(*sold->change) << "\n";
    return 0;
}
