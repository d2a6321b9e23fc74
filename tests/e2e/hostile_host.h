#pragma once
// A hostile host: a seeded, bounded stream of frames against a registered
// register on the simulator. Every command code with random, truncated and
// over-long payloads; the service cashier's valid prefix with garbage
// bodies; document commands in random orders; printer commands inside the
// texts; ENQ, stray bytes, bad check sums, frames cut short or announced
// too long. The host keeps a model of what was answered with success (the
// documents and their numbers, the shift, the shift's counters) and at
// every checkpoint makes sure the line is still in step (a request with a
// fresh identifier gets its own answer) and that the register's counters
// and last document number are the model's.
//
// Left out, because a host would never be forgiven them and they would end
// the run rather than test it: setting the clock, closing the archive,
// writing reference records, device and printer settings with a valid
// prefix (they could lock the service cashier out or change the line), and
// raw printer bytes while a document is open (a raw write may wedge the
// printer between a document's store and its print; the next document
// brings the printer back).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/sim_process.h"

namespace hostile {

struct Figures {
    int frames = 0;        // frames and stray bytes sent, ENQ included
    int answered = 0;      // answers read
    int silent = 0;        // frames without an answer in time
    int checkpoints = 0;
    int documents = 0;     // documents the model saw stored
    std::map<int, int> byCode;  // answers by result code
    double seconds = 0;
    std::vector<std::string> problems;  // where the register and the model disagree
};

// Registers the fresh register on `sim` and opens its first shift.
bool prepare(e2e::SimProcess& sim, std::string& error);

// Sends `frames` hostile frames (seeded by `seed`) with a checkpoint every
// `checkpointEvery` frames and one at the end; then cancels whatever
// document the stream left open.
Figures run(e2e::SimProcess& sim, std::uint32_t seed, int frames, int checkpointEvery = 250);

// The four counter blocks (54, 55, 56, 57) as the register answers them;
// empty blocks for the commands that fail.
std::vector<Bytes> counterBlocks(e2e::SimProcess& sim);

}  // namespace hostile
