#pragma once
// Moves bytes both ways between the masters of two pseudo-terminals, so that
// the register's end of the host line and the host's end behave like the two
// ends of one serial cable.
//
// One direction never waits for the other: both masters are non-blocking,
// and what one side sends is kept until the other side takes it, so a host
// may write any amount before it reads while the register's answers still
// flow. Up to kMaxWaiting bytes wait per direction; beyond that the relay
// reads no more from that sender until its reader catches up. Between
// bytes the relay's thread sleeps in poll without a time-out.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace sim {

enum class Direction { toRegister, toHost };

class LineRelay {
  public:
    // Sees every batch of bytes once the relay has passed it on (or left it
    // waiting for its reader), on the relay's thread.
    using Observer = std::function<void(Direction, const std::uint8_t*, std::size_t)>;
    // Called on the relay's thread before the register's bytes go on to the
    // host; may wait, and the line to the host waits with it.
    using HostGate = std::function<void()>;

    static constexpr std::size_t kMaxWaiting = std::size_t{64} << 20;

    LineRelay(int registerMaster, int hostMaster, Observer observer = {}, HostGate hostGate = {});
    ~LineRelay();  // stops the relay thread; bytes still waiting are lost
    LineRelay(const LineRelay&) = delete;
    LineRelay& operator=(const LineRelay&) = delete;

  private:
    // One direction: bytes read from `from`, waiting to be written to `to`.
    struct Lane {
        int from;
        int to;
        Direction direction;
        std::string waiting;
        std::size_t written = 0;  // of `waiting`, already passed on
        std::string unobserved;   // read, not yet shown to the observer
    };

    void run();
    void take(Lane& lane);
    void pass(Lane& lane);
    void observe(Lane& lane);

    Lane toRegister_;
    Lane toHost_;
    Observer observer_;
    HostGate hostGate_;
    std::atomic<bool> stop_{false};
    int stopEvent_ = -1;  // an eventfd: wakes the relay to stop
    std::thread thread_;
};

}  // namespace sim
