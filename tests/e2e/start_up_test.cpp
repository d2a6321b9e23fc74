// The register's start-up end to end: the archive created on a new card,
// the storage warning and the greeting on paper, the counters it serves,
// and a board without an SD card.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/sim_process.h"
#include "tests/e2e/tape_checks.h"
#include "tests/support/file_text.h"

namespace {

using hostkit::Response;

constexpr std::uint32_t kServicePassword = 271828;

Response request(e2e::SimProcess& sim, std::uint8_t command, const Bytes& data = {}) {
    Response r;
    std::string error;
    EXPECT_TRUE(sim.client().request(command, data, r, error, 0x600D, 30000)) << error;
    return r;
}

Bytes withServiceCashier(const std::string& payload) {
    Bytes data{20};
    le::put32(data, kServicePassword);
    le::putText(data, payload);
    return data;
}

std::string tape(const e2e::SimProcess& sim) {
    return testing_support::readFile(sim.root() + "/printer/tape.txt");
}

// Where `texts` appear in `text` one after another; npos when one is missing.
std::size_t findInOrder(const std::string& text, const std::vector<std::string>& texts,
                        std::size_t from = 0) {
    for (const std::string& t : texts) {
        from = text.find(t, from);
        if (from == std::string::npos) return from;
        from += t.size();
    }
    return from;
}

// The six warning lines, word by word: in double size they wrap, and the
// tape shows each character double wide.
const std::vector<std::string> kWarning = [] {
    std::vector<std::string> words;
    for (const char* word :
         {"ВНИМАНИЕ!", "ИДЕТ", "ФОРМИРОВАНИЕ", "ВНУТРЕННЕГО", "ИДЕТ", "ФОРМИРОВАНИЕ", "ХРАНИЛИЩА!",
          "ВЫКЛЮЧАЙТЕ", "АППАРАТ", "ДО", "ПЕЧАТИ", "ПРИВЕТСТВИЯ!"})
        words.push_back(e2e::doubleWidth(word));
    return words;
}();

TEST(StartUpE2E, ANewBoardMakesItsArchiveWarnsAndGreets) {
    e2e::SimProcess sim;
    ASSERT_TRUE(sim.waitReady()) << sim.output();

    // The archive on the new card: sparse, both magics, an identifier.
    const std::string archive = sim.root() + "/mnt/sd/V0XD24TX";
    ASSERT_TRUE(std::filesystem::exists(archive));
    EXPECT_EQ(std::filesystem::file_size(archive), 16'777'220u);
    const Bytes file = testing_support::fileBytes(archive);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{0x03, 0x89, 0x23, 0xF4}));
    EXPECT_EQ(Bytes(file.begin() + 0x1000000, file.begin() + 0x1000004),
              (Bytes{0x03, 0x89, 0x23, 0xF4}));
    EXPECT_NE(le::u32(&file[4]), 0u);

    // The internal storage is missing: the warning, then the greeting
    // without a factory number.
    const std::string first = tape(sim);
    const std::size_t warned = findInOrder(first, kWarning);
    ASSERT_NE(warned, std::string::npos) << first;
    // An erased EEPROM holds no model name yet.
    EXPECT_NE(findInOrder(first, {"НЕ УСТАНОВЛЕН ЗАВОДСКОЙ НОМЕР"}, warned), std::string::npos)
        << first;

    // Zero counters, each operation entry carrying its kind.
    const std::pair<std::uint8_t, std::size_t> reads[] = {
        {54, 406}, {55, 406}, {56, 238}, {57, 640}};
    for (const auto& [command, size] : reads) {
        Response r = request(sim, command);
        ASSERT_EQ(r.code, 0) << int(command);
        ASSERT_EQ(r.data.size(), size) << int(command);
        for (std::size_t kind = 0; kind < 4 && command != 57; ++kind) {
            const std::size_t at = command == 56 ? 26 + 53 * kind : 34 + 93 * kind;
            EXPECT_EQ(r.data[at], kind) << int(command);
            r.data[at] = 0;
        }
        EXPECT_EQ(r.data, Bytes(size, 0)) << int(command);
    }

    // With a factory number the next start greets with it; the internal
    // storage is still missing (no closing document yet), so the warning
    // comes again.
    ASSERT_EQ(request(sim, 63, withServiceCashier("0000000042")).code, 0);
    const std::string root = sim.root();
    ASSERT_EQ(sim.stop(), 0);
    e2e::SimProcess again({}, root);
    ASSERT_TRUE(again.waitReady()) << again.output();
    const std::string second = tape(again).substr(first.size());
    EXPECT_NE(findInOrder(second, kWarning), std::string::npos) << second;
    EXPECT_NE(findInOrder(second, {"ОКТА-80-Ф", "ЗН 0000000042"}), std::string::npos) << second;
    EXPECT_EQ(second.find("НЕ УСТАНОВЛЕН"), std::string::npos);
}

TEST(StartUpE2E, WithoutAnSdCardTheRegisterStillStartsAndGreets) {
    std::string root;
    {
        e2e::SimProcess sim;
        ASSERT_TRUE(sim.waitReady()) << sim.output();
        ASSERT_EQ(request(sim, 63, withServiceCashier("0000000042")).code, 0);
        root = sim.root();
    }
    std::filesystem::remove(root + "/dev/mmcblk0p1");
    const std::size_t printedBefore = testing_support::readFile(root + "/printer/tape.txt").size();

    e2e::SimProcess sim({}, root);
    ASSERT_TRUE(sim.waitReady()) << sim.output();
    EXPECT_NE(sim.output().find("NO SD CARD\n"), std::string::npos) << sim.output();
    const std::string greeting = tape(sim).substr(printedBefore);
    EXPECT_NE(greeting.find("ЗН 0000000042"), std::string::npos) << greeting;
    EXPECT_EQ(greeting.find(e2e::doubleWidth("ВНИМАНИЕ!")), std::string::npos)
        << "no archive, no formation";

    // Command 48: the factory number, then the status with both archive
    // flags clear.
    const Response status = request(sim, 48);
    ASSERT_EQ(status.code, 0);
    ASSERT_EQ(status.data.size(), 10u + 21u);
    const std::uint16_t flags = le::u16(&status.data[10]);
    EXPECT_EQ(flags & 0x0001, 0) << "archiveMounted";
    EXPECT_EQ(flags & 0x0010, 0) << "archiveReady";
    const Response counters = request(sim, 54);
    EXPECT_EQ(counters.code, 5);
    EXPECT_TRUE(counters.data.empty());
}

}  // namespace
