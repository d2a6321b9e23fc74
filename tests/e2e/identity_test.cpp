// Identity end to end: the EEPROM image, the factory number, the identity
// and status commands the link serves, and the EEPROM service modes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/e2e/sim_process.h"
#include "tests/support/file_text.h"

namespace {

using hostkit::Response;

constexpr const char* kEepromPath = "/sys/bus/i2c/devices/0-0050/eeprom";
constexpr std::size_t kEepromSize = 4096;

Bytes readFile(const std::string& path) { return testing_support::fileBytes(path); }

void writeFile(const std::string& path, const Bytes& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    testing_support::writeFileBytes(path, bytes);
}

void putField(Bytes& image, std::size_t offset, const std::string& text) {
    std::copy(text.begin(), text.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
}

// An erased EEPROM holding a registration record that the register takes
// as valid: numbers, three texts, a time and a check value.
Bytes imageWithRegistration() {
    Bytes image(kEepromSize, 0xFF);
    std::fill(image.begin() + 48, image.begin() + 48 + 968, 0);
    putField(image, 48 + 0, "9999078900012345");
    putField(image, 48 + 16, "7712345678");
    putField(image, 48 + 28, "FIRST");
    putField(image, 48 + 284, "SECOND");
    putField(image, 48 + 540, "THIRD");
    // Tax number 2: 20 % on top, named VAT.
    le::store16(&image[48 + 796 + 32], 2000 | (2u << 14));
    putField(image, 48 + 796 + 32 + 2, "VAT");
    le::store32(&image[48 + 956], 1700000000);
    le::store32(&image[48 + 964], 0x12345678);
    return image;
}

Response request(e2e::SimProcess& sim, std::uint8_t command, const Bytes& data = {}) {
    Response r;
    std::string error;
    auto& c = sim.client();
    c.drain();
    EXPECT_TRUE(c.request(command, data, r, error, 0x5150, 20000)) << error;
    EXPECT_EQ(r.id, 0x5150u);
    return r;
}

TEST(IdentityE2E, FactoryNumberAndIdentityCommands) {
    const std::string root = e2e::freshRoot();
    const std::string image = root + kEepromPath;
    writeFile(image, imageWithRegistration());
    e2e::SimProcess sim({}, root);
    ASSERT_TRUE(sim.waitReady()) << sim.output();

    // Before the factory number is set.
    EXPECT_EQ(request(sim, 16).code, 13);
    EXPECT_EQ(request(sim, 49).code, 13);

    // The key made at start-up is in the EEPROM image at 4080.
    Bytes onDisk = readFile(image);
    ASSERT_EQ(onDisk.size(), kEepromSize);
    const Bytes key(onDisk.begin() + 4080, onDisk.end());
    EXPECT_NE(key, Bytes(16, 0xFF));
    Response r = request(sim, 50);
    ASSERT_EQ(r.code, 0);
    // Version 00 01 00, then 3E and seven zero bytes, then the key.
    Bytes expectedKey(27, 0);
    expectedKey[1] = 0x01;
    expectedKey[3] = 0x3E;
    std::copy(key.begin(), key.end(), expectedKey.begin() + 11);
    EXPECT_EQ(r.data, expectedKey);

    // Cashier 20 sets the factory number.
    std::string out;
    EXPECT_EQ(sim.runHost({"set-serial", "0123456789"}, out), 0) << out;
    r = request(sim, 49);
    ASSERT_EQ(r.code, 0);
    ASSERT_EQ(r.data.size(), 44u);
    EXPECT_EQ((Bytes{r.data[0], r.data[1]}), (Bytes{0x13, 0x82}));
    EXPECT_EQ(std::string(r.data.begin() + 2, r.data.begin() + 12), "0123456789");
    onDisk = readFile(image);
    EXPECT_EQ(Bytes(onDisk.begin(), onDisk.begin() + 44), r.data) << "written to the EEPROM";
    r = request(sim, 16);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.data.size(), 29u);

    // Only once.
    EXPECT_EQ(sim.runHost({"--json", "set-serial", "9999999999"}, out), 1);
    EXPECT_NE(out.find("\"code\":24"), std::string::npos) << out;

    // Registration tags.
    EXPECT_EQ(request(sim, 68, {0x1D, 0x2B, 0x00}).code, 22);
    r = request(sim, 68, {0x0C, 0x2B});  // 11020 is no registration tag
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.data.empty());
    EXPECT_EQ(sim.runHost({"reg-tag", "11048"}, out), 0);
    EXPECT_NE(out.find("value: FIRST"), std::string::npos) << out;
    EXPECT_EQ(sim.runHost({"--json", "reg-tag", "13106"}, out), 0);
    EXPECT_NE(out.find("\"taxKind\":\"on top\",\"taxRate\":\"20.00%\",\"taxName\":\"VAT\""),
              std::string::npos)
        << out;

    // A restart reads the same key and factory data back.
    EXPECT_EQ(sim.stop(), 0);
    e2e::SimProcess again({}, root);
    ASSERT_TRUE(again.waitReady()) << again.output();
    EXPECT_EQ(request(again, 50).data, expectedKey);
    EXPECT_EQ(again.runHost({"model"}, out), 0);
    EXPECT_NE(out.find("factoryNumber: 0123456789"), std::string::npos) << out;
    EXPECT_NE(out.find("modelName: ОКТА-80-Ф"), std::string::npos) << out;
}

TEST(IdentityE2E, DeviceStatusWithThePrinterOffline) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    EXPECT_EQ(request(sim, 48).code, 13);
    std::string out;
    ASSERT_EQ(sim.runHost({"set-serial", "0123456789"}, out), 0);

    // Command 48 asks the printer first: its answer decides the flag.
    Response r = request(sim, 48);
    ASSERT_EQ(r.code, 0);
    ASSERT_EQ(r.data.size(), 31u);
    EXPECT_FALSE(le::u16(&r.data[10]) & 0x1000) << "the printer answers";

    std::ofstream(sim.root() + "/printer/state") << "offline\n";
    r = request(sim, 48);
    ASSERT_EQ(r.code, 0);
    ASSERT_EQ(r.data.size(), 31u);
    EXPECT_EQ(std::string(r.data.begin(), r.data.begin() + 10), "0123456789");
    const std::uint16_t flags = le::u16(&r.data[10]);
    EXPECT_TRUE(flags & 0x1000) << "printerOffline";
    EXPECT_FALSE(flags & 0x0040) << "no EEPROM error";
    EXPECT_EQ(r.data[13], 50);

    EXPECT_EQ(sim.runHost({"--json", "status"}, out), 0);
    EXPECT_NE(out.find("\"factoryNumber\":\"0123456789\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"printerOffline\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"shiftOpen\":false"), std::string::npos) << out;
}

TEST(IdentityE2E, LinkOnlyModeAnswersDeviceStatusWithoutACore) {
    // No core runs to ask the printer: command 48 answers at once instead of
    // waiting for ever, and the link keeps serving.
    e2e::SimProcess sim({"-s"});
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    EXPECT_EQ(request(sim, 48).code, 13);
    EXPECT_EQ(request(sim, 51).code, 0);
}

TEST(IdentityE2E, EepromServiceModes) {
    const std::string root = e2e::freshRoot();
    const std::string image = root + kEepromPath;
    Bytes bytes = imageWithRegistration();
    writeFile(image, bytes);

    std::string out;
    EXPECT_EQ(e2e::runSim({"--root", root, "-d"}, out), 0);
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 64u) << out;
    // Offsets 0..63: the erased factory data, then the storage number.
    EXPECT_EQ(lines[0],
              "FFFFFFFFFFFFFFFF  FFFFFFFFFFFFFFFF  FFFFFFFFFFFFFFFF  FFFFFFFFFFFFFFFF  "
              "FFFFFFFFFFFFFFFF  FFFFFFFFFFFFFFFF  3939393930373839  3030303132333435");
    EXPECT_EQ(readFile(image), bytes) << "the dump changes nothing";

    EXPECT_EQ(e2e::runSim({"--root", root, "-c"}, out), 0);
    EXPECT_EQ(readFile(image), Bytes(kEepromSize, 0xFF));
    std::string erased(16, 'F');
    for (int i = 1; i < 8; ++i) erased += "  " + std::string(16, 'F');
    std::string expected;
    for (int i = 0; i < 64; ++i) expected += erased + "\n";
    EXPECT_EQ(out, expected);
}

}  // namespace
