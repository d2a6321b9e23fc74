#include "tests/crash/register_under_test.h"

#include <filesystem>

#include "tests/support/register/fresh_state.h"

namespace crash {

namespace {

// An erased EEPROM but for the device key, so that every run signs alike.
std::string eepromWithKey() {
    std::string image(4096, '\xFF');
    for (int i = 0; i < 16; ++i) image[4080 + i] = static_cast<char>(0x30 + i);
    return image;
}

}  // namespace

RegisterUnderTest::RegisterUnderTest() {
    scoped_.addCardAndEeprom(eepromWithKey());
    std::filesystem::create_directories(file("/printer"));
    sim::replaceSymlink(printerEnd_.slavePath(), file("/dev/ttyS0"));
    printer_ = std::make_unique<sim::VirtualPrinter>(board().root, printerEnd_.master());
    line_ = std::make_unique<sim::PrinterLine>(
        printerEnd_.master(),
        [this](const unsigned char* p, std::size_t n) { printer_->receive(p, n); });
}

RegisterUnderTest::~RegisterUnderTest() {
    drop();
    line_.reset();
}

void RegisterUnderTest::start() {
    drop();
    forgetProcessState();
    core_ = std::make_unique<CoreWorker>();
    core_->startUp();
}

void RegisterUnderTest::drop() { core_.reset(); }

CoreApiResult RegisterUnderTest::send(std::uint8_t command, const Bytes& data) {
    CoreTransaction t;
    t.command = command;
    t.data = data;
    return core_->dispatch(t);
}

}  // namespace crash
