#pragma once
// How long the ESC/POS command at the head of a byte stream is, so that the
// virtual printer consumes the parameters of every command it knows, also
// of those it does not apply, instead of printing them as text. The table
// of the commands known and what the printer does with each is in
// docs/virtual-printer.md.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace sim {

struct EscPosSpan {
    std::size_t length = 1;  // the whole command, its data included
    bool known = true;       // false: a command the printer does not know
};

// The span of the command or character that starts at `p` (n > 0 bytes
// available); none when more bytes are needed to tell. A command that
// carries bulk data (bit images, graphics) is measured as soon as its size
// is in, so that its data can be passed over as it arrives; every other
// command is measured only once all of it is there. An escape sequence the
// printer does not know spans its two first bytes; any single byte spans one.
std::optional<EscPosSpan> measureCommand(const std::uint8_t* p, std::size_t n);

}  // namespace sim
