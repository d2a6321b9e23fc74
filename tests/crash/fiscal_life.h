#pragma once
// A scripted fiscal life run against the register in this process, with
// the power cut, or one write failed, at a chosen write of the file seam;
// and what the run leaves, held against a run without any fault.
//
// The host behaves as a POS does: after a power cut it starts the register
// again and looks at the last document number; a document that was not
// stored is built again from its open; a close answered with a failure is
// sent again. The clock stands still within a step, so a document built
// again is byte for byte the one that was cut short.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/bytes.h"
#include "tests/e2e/fiscal_requests.h"

namespace crash {

struct Step {
    std::string name;
    std::vector<fiscal::Request> requests;  // a document: open, values, close
    bool document = true;
};

// Registration, a shift with cash and receipts of every kind (several
// positions, both discount forms, cash and card), an X report, the shift
// close, a second shift with a receipt, and a registration again.
std::vector<Step> fiscalLife();

enum class Fault {
    none,
    cutBefore,  // the power goes before write k: it and all after it land nothing
    cutTorn,    // the power goes in the middle of write k: half of it lands
    failOnce,   // write k fails, the register goes on
};
const char* faultName(Fault fault);

// What a run leaves.
struct Outcome {
    std::vector<std::uint32_t> numbers;  // per document step, its number (answered or found)
    std::vector<std::string> problems;   // what the host met that it must not
    bool readyAfterRestart = false;
    Bytes archive, storage, eeprom;
    std::uint64_t writes = 0;  // write calls the life made
    std::uint64_t cuts = 0;    // power cuts met
};

// Runs the life on a new board with `fault` at write `k` of the life (1 is
// its first write), and starts the register once more at the end.
Outcome runLife(Fault fault = Fault::none, std::uint64_t k = 0);

// The kinds of inconsistency between a run and the run without faults,
// with the archive's regions named; empty when they agree.
std::vector<std::string> differences(const Outcome& reference, const Outcome& run);

// What the register's counters, held against a count of the life's own
// documents, and its EEPROM, held against the archive, get wrong.
std::vector<std::string> recountProblems(const Outcome& run);

// The first write of each step of the life without faults and the number
// of writes it makes, in the order of fiscalLife().
struct StepWrites {
    std::string name;
    std::uint64_t first = 0;
    std::uint64_t count = 0;
};
std::vector<StepWrites> writesByStep();

// The sweep: for each write k given, a cut before it and a torn one (and,
// with `failures`, the write failed once); inconsistencies counted by kind.
struct SweepFigures {
    std::uint64_t writes = 0;  // W
    std::uint64_t runs = 0;
    std::map<std::string, std::uint64_t> inconsistencies;  // kind -> runs
    std::vector<std::string> examples;                     // the first few, for the record
};
SweepFigures sweep(const std::vector<std::uint64_t>& ks, bool failures);

}  // namespace crash
