#include "tests/e2e/hostile_host.h"

#include <algorithm>
#include <chrono>
#include <random>

#include "host/frame.h"
#include "tests/e2e/fiscal_requests.h"

namespace hostile {

namespace {

using hostkit::Response;
using namespace fiscal;

constexpr std::uint8_t kCashierPrefixCommands[] = {1, 8, 17, 19, 21, 58, 162, 164, 177, 178};
// Never sent with a valid prefix (see the header), nor at random.
constexpr std::uint8_t kSetClock = 4, kWriteRecord = 2, kSetDeviceSetting = 65,
                       kSetPrinterSetting = 194, kFormattedPrint = 195, kRawPrint = 196,
                       kReport = 177, kCopy = 178, kCounters = 54;
constexpr int kAnswerMs = 30000;

// Texts a host might send with printer commands in them.
const std::string kPrinterCommands[] = {
    std::string("AB\x1D\x38\x4C\xFF\xFF\xFF\x7F", 9),
    std::string("\x1Dv0\x00\xFF\xFF\xFF\xFF", 8),
    std::string("\x1B*\x21\xFF\xFF", 5),
    std::string("\x1B@\x10\x14\x08\x01\x03\x14\x01\x06\x02\x08", 12),
    std::string("\x1B\x69\x1D\x56\x00", 5),
};

// What was answered with success, as the host saw it.
struct Model {
    bool shiftOpen = true;
    std::uint8_t openCommand = 0;  // the last open answered 0
    Bytes openData;
    std::uint32_t lastDocument = 0;
    // The shift's counters: head and the four receipt kinds.
    std::uint16_t cashInCount = 0, cashOutCount = 0;
    std::uint64_t cashInAmount = 0, cashOutAmount = 0;
    std::uint32_t receipts = 0;
    std::uint32_t kindCount[4] = {};
    std::uint64_t kindTotal[4] = {};

    void newShift() { *this = Model{true, 0, {}, lastDocument}; }
};

class Host {
  public:
    Host(e2e::SimProcess& sim, std::uint32_t seed, Figures& figures)
        : sim_(sim), random_(seed), figures_(figures) {}

    bool syncLastDocument() {
        const Response r = send(kDeviceStatus, {});
        if (r.code != 0 || r.data.size() < 20) return false;
        model_.lastDocument = le::u32(&r.data[16]);
        return true;
    }

    void step() {
        const unsigned p = pick(100);
        if (p < 45) return documentFlow();
        if (p < 58) return validPrefixGarbage();
        if (p < 72) return randomCommand();
        if (p < 80) return enq();
        if (p < 87) return badCheckSum();
        if (p < 93) return strayBytes();
        if (p < 96) return cutShort();
        return tooLong();
    }

    void checkpoint() {
        ++figures_.checkpoints;
        // In step: a fresh identifier gets its own answer.
        std::string error;
        Response r;
        const std::uint32_t id = 0x5EED0000u + static_cast<std::uint32_t>(figures_.checkpoints);
        sim_.client().drain();
        if (!sim_.client().request(kDeviceStatus, {}, r, error, id, kAnswerMs) || r.id != id ||
            r.code != 0 || r.data.size() < 20) {
            problem("checkpoint " + std::to_string(figures_.checkpoints) + ": no status answer " +
                    error);
            return;
        }
        if (le::u32(&r.data[16]) != model_.lastDocument)
            problem("last document " + std::to_string(le::u32(&r.data[16])) + ", the model's " +
                    std::to_string(model_.lastDocument));
        if (!model_.shiftOpen) return;
        const Response c = send(kCounters, {});
        if (c.code != 0 || c.data.size() != 406) {
            problem("shift counters answered " + std::to_string(c.code));
            return;
        }
        const Bytes& d = c.data;
        expect("cash in count", le::u16(&d[2]), model_.cashInCount);
        expect("cash out count", le::u16(&d[4]), model_.cashOutCount);
        expect("cash in amount", le::u64(&d[6]), model_.cashInAmount);
        expect("cash out amount", le::u64(&d[14]), model_.cashOutAmount);
        expect("receipts", le::u32(&d[22]), model_.receipts);
        for (int k = 0; k < 4; ++k) {
            const std::size_t at = 34 + 93 * static_cast<std::size_t>(k);
            expect("kind " + std::to_string(k) + " count", le::u32(&d[at + 1]), model_.kindCount[k]);
            expect("kind " + std::to_string(k) + " total", le::u64(&d[at + 5]), model_.kindTotal[k]);
        }
    }

    // Whatever document the stream left open is cancelled.
    void cancelOpen() { send(kCancel, {}); }

  private:
    unsigned pick(unsigned n) { return static_cast<unsigned>(random_() % n); }
    Bytes randomBytes(std::size_t n) {
        Bytes b(n);
        for (auto& x : b) x = static_cast<std::uint8_t>(random_());
        return b;
    }
    std::string hostileText() {
        std::string text = "Товар ";
        if (pick(2)) text += kPrinterCommands[pick(std::size(kPrinterCommands))];
        if (pick(4) == 0) {
            const Bytes noise = randomBytes(pick(12));
            text.append(noise.begin(), noise.end());
        }
        return text;
    }
    Bytes rawText(std::uint16_t tag, const std::string& bytes) {
        return tagged(tag, Bytes(bytes.begin(), bytes.end()));
    }

    void problem(const std::string& what) {
        if (figures_.problems.size() < 20) figures_.problems.push_back(what);
    }
    template <typename A, typename B>
    void expect(const std::string& what, A is, B model) {
        if (static_cast<std::uint64_t>(is) != static_cast<std::uint64_t>(model))
            problem(what + ": " + std::to_string(is) + ", the model's " + std::to_string(model));
    }

    // The register's diagnostic lines (one for every stray byte and unknown
    // tag) are read as they come: a full pipe would stop the register.
    void readDiagnostics() { sim_.output(); }

    Response send(std::uint8_t command, const Bytes& data) {
        readDiagnostics();
        ++figures_.frames;
        Response r;
        std::string error;
        sim_.client().drain();
        if (!sim_.client().request(command, data, r, error, 0, kAnswerMs)) {
            ++figures_.silent;
            return r;
        }
        ++figures_.answered;
        ++figures_.byCode[r.code];
        observe(command, data, r);
        return r;
    }

    // Bytes as they are, then whatever answer comes (none is owed for a
    // lone stray byte).
    void sendRaw(const Bytes& bytes, bool answerOwed) {
        readDiagnostics();
        ++figures_.frames;
        sim_.client().drain();
        sim_.client().sendBytes(bytes);
        Response r;
        std::string error;
        if (sim_.client().readResponse(r, answerOwed ? 2000 : 300, error)) {
            ++figures_.answered;
            ++figures_.byCode[r.code];
        } else if (answerOwed) {
            ++figures_.silent;
        }
    }

    // The model follows every answer 0.
    void observe(std::uint8_t command, const Bytes& data, const Response& r) {
        if (r.code != 0) return;
        switch (command) {
            case kOpenRegistration:
            case kOpenShift:
            case kOpenShiftClose:
            case kOpenReceipt:
            case kOpenCashIn:
            case kOpenCashOut:
            case kOpenArchiveClose:
                model_.openCommand = command;
                model_.openData = data;
                return;
            case kCancel:
                model_.openCommand = 0;
                return;
            case kCloseRegistration:
            case kCloseShiftOpen:
            case kCloseShiftClose:
            case kCloseReceipt:
            case kCloseCashIn:
            case kCloseCashOut:
            case kCloseArchiveClose:
                stored(command, data, r);
                return;
            default:
                return;
        }
    }

    void stored(std::uint8_t command, const Bytes& closeData, const Response& r) {
        ++figures_.documents;
        const std::uint32_t number = r.data.size() >= 4 ? le::u32(r.data.data()) : 0;
        if (number != model_.lastDocument + 1)
            problem("document " + std::to_string(number) + " after " +
                    std::to_string(model_.lastDocument));
        model_.lastDocument = number;
        const Bytes openData = model_.openData;
        model_.openCommand = 0;
        switch (command) {
            case kCloseShiftOpen:
                model_.newShift();
                return;
            case kCloseShiftClose:
                model_.shiftOpen = false;
                return;
            case kCloseCashIn:
                ++model_.cashInCount;
                if (closeData.size() >= 8) model_.cashInAmount += le::u64(closeData.data());
                return;
            case kCloseCashOut:
                ++model_.cashOutCount;
                if (closeData.size() >= 8) model_.cashOutAmount += le::u64(closeData.data());
                return;
            case kCloseReceipt: {
                ++model_.receipts;
                // The kind follows the cashier prefix of the open.
                const std::uint8_t kind = openData.size() > 5 ? openData[5] : 0xFF;
                if (kind < 4 && r.data.size() >= 24) {
                    ++model_.kindCount[kind];
                    model_.kindTotal[kind] += le::u64(&r.data[16]);
                }
                return;
            }
            default:
                return;
        }
    }

    Bytes somePosition() {
        Bytes value = position({.name = "Q", .priceKopecks = 1 + pick(50'000),
                                .quantityMilli = 1 + pick(5'000), .taxNumber = 1,
                                .section = static_cast<std::uint8_t>(pick(3))});
        if (pick(3) == 0) return value;
        // The name carries printer commands: its tag and length are rewritten.
        const std::string name = hostileText();
        const Bytes oldName = tagged(11030, {'Q'});
        const Bytes newName = rawText(11030, name);
        auto at = std::search(value.begin(), value.end(), oldName.begin(), oldName.end());
        if (at == value.end()) return value;
        const auto offset = at - value.begin();
        value.erase(at, at + static_cast<std::ptrdiff_t>(oldName.size()));
        value.insert(value.begin() + offset, newName.begin(), newName.end());
        le::store16(&value[2], static_cast<std::uint16_t>(value.size() - 4));
        return value;
    }

    // A POS's own flow, but in random orders: it mostly goes on with the
    // document it believes open, and now and then does anything else.
    void documentFlow() {
        if (pick(5) == 0) return anyDocumentCommand();
        switch (model_.openCommand) {
            case 0:
                if (!model_.shiftOpen) {
                    send(kOpenShift, asService());
                    send(kCloseShiftOpen, {});
                    return;
                }
                switch (pick(8)) {
                    case 0:
                        send(kOpenCashIn, asService());
                        return;
                    case 1:
                        send(kOpenCashOut, asService());
                        return;
                    default:
                        send(kOpenReceipt, asService(receiptOpen(static_cast<ReceiptKind>(pick(5) % 4))));
                        return;
                }
            case kOpenReceipt:
                switch (pick(10)) {
                    case 0:
                        send(kAdd, rawText(12120, hostileText()));
                        return;
                    case 1:
                    case 2:
                        send(kCloseReceipt, receiptPayment(pick(3) == 0 ? pick(100'000) : 0,
                                                           pick(4) == 0 ? pick(1'000) : 0));
                        return;
                    case 3:
                        if (pick(4) == 0) send(kCancel, {});
                        return;
                    default:
                        send(kAdd, somePosition());
                        return;
                }
            case kOpenCashIn:
                send(kCloseCashIn, cashAmount(1 + pick(100'000)));
                return;
            case kOpenCashOut:
                send(kCloseCashOut, cashAmount(1 + pick(10'000)));
                return;
            default:
                send(kCancel, {});
                return;
        }
    }

    void anyDocumentCommand() {
        switch (pick(10)) {
            case 0:
                send(kCancel, {});
                return;
            case 1:
                if (pick(10) == 0) {
                    send(kOpenShiftClose, asService());
                    send(kCloseShiftClose, {});
                }
                return;
            case 2: {
                Bytes format{0, 0, 0, 0};
                const std::string text = hostileText();
                format.insert(format.end(), text.begin(), text.end());
                send(kFormattedPrint, format);
                return;
            }
            case 3:
                if (pick(4) == 0) send(kReport, asService({1}));
                return;
            case 4: {
                Bytes number;
                le::put32(number, 1 + pick(model_.lastDocument + 2));
                send(kCopy, asService(number));
                return;
            }
            case 5:
                send(kDocumentState, {});
                return;
            case 6:
                send(kAdd, rawText(11021, hostileText()));  // the cashier's name
                return;
            case 7:
                send(kCloseReceipt, receiptPayment(0, 0));
                return;
            case 8:
                send(kAdd, somePosition());
                return;
            default:
                send(kCloseCashIn, cashAmount(1 + pick(1'000)));
                return;
        }
    }

    void validPrefixGarbage() {
        const std::uint8_t command = kCashierPrefixCommands[pick(std::size(kCashierPrefixCommands))];
        send(command, asService(randomBytes(pick(3) == 0 ? pick(600) : pick(24))));
    }

    void randomCommand() {
        std::uint8_t command = static_cast<std::uint8_t>(random_());
        if (command == kSetClock || command == kOpenArchiveClose || command == kCloseArchiveClose)
            command = kDeviceStatus;
        // A random prefix is refused before these would change anything;
        // a valid one could lock the service cashier out.
        Bytes data;
        switch (pick(4)) {
            case 0:
                data = randomBytes(pick(6));  // truncated
                break;
            case 1:
                data = randomBytes(1000 + pick(19));  // as long as a request may be
                break;
            default:
                data = randomBytes(pick(64));
                break;
        }
        if ((command == kWriteRecord || command == kSetDeviceSetting ||
             command == kSetPrinterSetting) &&
            data.size() >= 5 && data[0] == kServiceCashier)
            data[0] = 0;
        if (command == kRawPrint && model_.openCommand != 0) command = kDeviceStatus;
        send(command, data);
    }

    void enq() {
        readDiagnostics();
        ++figures_.frames;
        Response r;
        std::string error;
        sim_.client().drain();
        if (sim_.client().enq(r, error, 3000)) {
            ++figures_.answered;
            ++figures_.byCode[r.code];
        } else {
            ++figures_.silent;
        }
    }

    void badCheckSum() {
        Bytes frame = hostkit::requestFrame(kDeviceStatus, 1 + static_cast<std::uint32_t>(random_()),
                                            randomBytes(pick(8)));
        frame[frame.size() - 1 - pick(2)] ^= static_cast<std::uint8_t>(1 + pick(255));
        sendRaw(frame, true);
    }

    // Stray bytes before a request: skipped, the request answered.
    void strayBytes() {
        Bytes bytes = randomBytes(1 + pick(8));
        for (auto& b : bytes)
            if (b == 0x04 || b == 0x05) b = 0x33;
        le::putBytes(bytes, hostkit::requestFrame(kDeviceStatus, 1 + pick(1000), {}));
        sendRaw(bytes, true);
    }

    // A frame that stops: answered 11 after the register's silence.
    void cutShort() {
        Bytes frame = hostkit::requestFrame(kDeviceStatus, 7, randomBytes(pick(20)));
        frame.resize(1 + pick(static_cast<unsigned>(frame.size() - 1)));
        sendRaw(frame, true);
    }

    void tooLong() {
        Bytes frame{0x04};
        le::put16(frame, static_cast<std::uint16_t>(1025 + pick(60000)));
        sendRaw(frame, true);
    }

    e2e::SimProcess& sim_;
    std::mt19937 random_;
    Figures& figures_;
    Model model_;
};

}  // namespace

bool prepare(e2e::SimProcess& sim, std::string& error) {
    std::vector<Request> requests = fiscalizationRequests();
    requests.push_back({kOpenShift, asService()});
    requests.push_back({kCloseShiftOpen, {}});
    for (const Request& q : requests) {
        Response r;
        if (!sim.client().request(q.command, q.data, r, error, 0, kAnswerMs)) return false;
        if (r.code != 0) {
            error = "command " + std::to_string(q.command) + " answered " + std::to_string(r.code);
            return false;
        }
    }
    return true;
}

Figures run(e2e::SimProcess& sim, std::uint32_t seed, int frames, int checkpointEvery) {
    Figures figures;
    const auto start = std::chrono::steady_clock::now();
    Host host(sim, seed, figures);
    if (!host.syncLastDocument()) figures.problems.push_back("no status at the start");
    int sinceCheckpoint = 0;
    while (figures.frames < frames) {
        const int before = figures.frames;
        host.step();
        sinceCheckpoint += figures.frames - before;
        if (sinceCheckpoint >= checkpointEvery) {
            host.checkpoint();
            sinceCheckpoint = 0;
        }
    }
    host.checkpoint();
    host.cancelOpen();
    figures.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return figures;
}

std::vector<Bytes> counterBlocks(e2e::SimProcess& sim) {
    std::vector<Bytes> blocks;
    for (std::uint8_t command : {54, 55, 56, 57}) {
        Response r;
        std::string error;
        sim.client().drain();
        const bool answered = sim.client().request(command, {}, r, error, 0, kAnswerMs);
        blocks.push_back(answered && r.code == 0 ? r.data : Bytes{});
    }
    return blocks;
}

}  // namespace hostile
