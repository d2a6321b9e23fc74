#include "sim/virtual_printer.h"

#include <unistd.h>

#include <vector>

#include "sim/paper_roll.h"
#include "sim/text_file.h"

namespace sim {

namespace {
constexpr std::uint8_t kPaperOk = 0x00;
constexpr std::uint8_t kPaperNearEnd = 0x03;
constexpr std::uint8_t kPaperOut = 0x0C;
constexpr int kPaperSensorStatus = 1;
}  // namespace

PaperState parsePaperState(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return PaperState::ok;
    text.remove_prefix(first);
    const std::string_view word = text.substr(0, text.find_first_of(" \t\r\n"));
    if (word == "near-end") return PaperState::nearEnd;
    if (word == "out") return PaperState::out;
    if (word == "offline") return PaperState::offline;
    return PaperState::ok;
}

std::optional<std::uint8_t> statusAnswer(PaperState state, int n) {
    if (state == PaperState::offline) return std::nullopt;
    // GS r 1 (or '1') is the paper sensor; other kinds report nothing amiss.
    if (n != kPaperSensorStatus && n != '0' + kPaperSensorStatus) return kPaperOk;
    switch (state) {
        case PaperState::nearEnd:
            return kPaperNearEnd;
        case PaperState::out:
            return kPaperOut;
        default:
            return kPaperOk;
    }
}

VirtualPrinter::VirtualPrinter(std::string root, int lineFd, TapeGate* gate)
    : root_(std::move(root)),
      dir_(root_ + "/printer"),
      lineFd_(lineFd),
      gate_(gate),
      raw_(dir_ + "/raw.bin", std::ios::binary | std::ios::app),
      tape_(dir_) {}

PaperState VirtualPrinter::readState() const {
    return parsePaperState(readTextFile(dir_ + "/state").value_or(""));
}

void VirtualPrinter::receive(const unsigned char* p, std::size_t n) {
    renderer_.setRoll(loadedRoll(root_));
    const std::vector<TapeItem> items = renderer_.feed(p, n);
    const PaperState state = readState();
    const bool printing = state != PaperState::out && state != PaperState::offline;
    std::vector<TapeItem> paper;
    bool rawKept = false;
    // Puts the bytes received and the paper so far on the files.
    auto keep = [&] {
        if (!rawKept) {
            raw_.write(reinterpret_cast<const char*>(p), static_cast<std::streamsize>(n));
            raw_.flush();
            rawKept = true;
        }
        tape_.append(paper);
        paper.clear();
    };
    std::unique_lock<std::mutex> gateClosed;
    for (const TapeItem& item : items) {
        if (item.kind != TapeItem::statusRequest) {
            if (printing) paper.push_back(item);
            continue;
        }
        // What came before the request is on paper before the answer leaves
        // or, behind the gate, before anyone can hear of the answer.
        if (!gate_)
            keep();
        else if (!gateClosed)
            gateClosed = std::unique_lock<std::mutex>(gate_->closed_);
        if (auto answer = statusAnswer(readState(), item.statusKind))
            (void)!::write(lineFd_, &*answer, 1);
    }
    keep();
}

}  // namespace sim
