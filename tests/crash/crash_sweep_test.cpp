// Power cuts and failed writes through a whole fiscal life: whatever write
// the power goes at, before it or in its middle, and whichever write fails
// with the close sent again, the register comes back with every document
// stored once under its number, counters that count each once, the
// internal storage and the EEPROM in line with the archive: exactly what a
// life without any fault leaves. The whole sweep runs from bench/.

#include <gtest/gtest.h>

#include <iostream>

#include "state/status.h"
#include "storage/archive_layout.h"
#include "tests/crash/fiscal_life.h"
#include "tests/crash/register_under_test.h"
#include "tests/support/file_text.h"

namespace {

std::string describe(const crash::SweepFigures& f) {
    std::string text = "W " + std::to_string(f.writes) + ", runs " + std::to_string(f.runs);
    for (const auto& [kind, runs] : f.inconsistencies)
        text += "\n  " + kind + ": " + std::to_string(runs);
    for (const std::string& example : f.examples) text += "\n  e.g. " + example;
    return text;
}

// Every write of the first receipt's store and of the first shift close,
// and every fifth write of the rest.
std::vector<std::uint64_t> boundedCuts(const std::vector<crash::StepWrites>& steps,
                                       std::uint64_t total) {
    std::vector<std::uint64_t> ks;
    for (const crash::StepWrites& step : steps)
        if (step.name == "sale" || step.name == "shift close")
            for (std::uint64_t k = step.first; k < step.first + step.count; ++k) ks.push_back(k);
    for (std::uint64_t k = 1; k <= total; k += 5)
        if (std::find(ks.begin(), ks.end(), k) == ks.end()) ks.push_back(k);
    return ks;
}

TEST(CrashSweep, ThePowerCutAtAnyWriteLosesNothingAndCountsNothingTwice) {
    const std::vector<crash::StepWrites> steps = crash::writesByStep();
    std::uint64_t total = 0;
    for (const crash::StepWrites& step : steps) total += step.count;
    ASSERT_GT(total, 30u);
    const crash::SweepFigures figures = crash::sweep(boundedCuts(steps, total), false);
    std::cout << describe(figures) << "\n";
    EXPECT_EQ(figures.writes, total);
    EXPECT_TRUE(figures.inconsistencies.empty()) << describe(figures);
}

TEST(CrashSweep, AWriteThatFailsWithTheCloseSentAgainStoresTheDocumentOnce) {
    const crash::Outcome reference = crash::runLife();
    ASSERT_TRUE(crash::recountProblems(reference).empty());
    for (std::uint64_t k = 1; k <= reference.writes; ++k) {
        const crash::Outcome run = crash::runLife(crash::Fault::failOnce, k);
        const std::vector<std::string> kinds = crash::differences(reference, run);
        std::string all;
        for (const std::string& kind : kinds) all += kind + "; ";
        EXPECT_TRUE(kinds.empty()) << "write " << k << " failed: " << all
                                   << (run.problems.empty() ? "" : run.problems.front());
    }
}

TEST(RejectedArchive, IsNeitherReadNorWrittenUntilAStartAcceptsIt) {
    crash::RegisterUnderTest reg;
    reg.board().clock = 1'800'000'000;
    reg.start();
    ASSERT_EQ(reg.send(fiscal::kSetFactoryNumber,
                       fiscal::asService(toBytes(fiscal::kFactoryNumber))).code, 0);
    const std::vector<crash::Step> life = crash::fiscalLife();
    for (std::size_t i = 0; i < 3; ++i)  // registration, shift open, cash in
        for (const fiscal::Request& r : life[i].requests)
            ASSERT_EQ(reg.send(r.command, r.data).code, 0) << life[i].name;
    ASSERT_EQ(reg.send(54, {}).code, 0);

    // The second magic spoiled: start-up rejects the archive.
    reg.drop();
    const std::string archive = reg.file("/mnt/sd/V0XD24TX");
    testing_support::patchFileBytes(archive, archive_layout::kSecondMagicOffset, Bytes(4, 0));
    reg.start();
    ASSERT_FALSE(FrStatus::status().testFlags(FrStatus::archiveReady));
    for (std::uint8_t counters : {54, 55, 56, 57})
        EXPECT_EQ(reg.send(counters, {}).code, 5) << int(counters);
    EXPECT_NE(reg.send(178, fiscal::asService(Bytes{3, 0, 0, 0})).code, 0) << "no copy of it";
    EXPECT_NE(reg.send(177, fiscal::asService(Bytes{1})).code, 0) << "no report from it";
    const Bytes before = testing_support::fileBytes(archive);
    for (const fiscal::Request& r : life[3].requests) reg.send(r.command, r.data);
    EXPECT_EQ(testing_support::fileBytes(archive), before) << "nothing stored into it";
}

}  // namespace
