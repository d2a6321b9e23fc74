#include "core/dispatch.h"

#include <array>

namespace {

struct Row {
    std::uint8_t command;
    CommandHandler handler;
};

// Rows are added with the workers that serve them.
constexpr std::array<Row, 0> kTable{};

}  // namespace

CommandHandler findHandler(std::uint8_t command) {
    for (const Row& row : kTable)
        if (row.command == command) return row.handler;
    return nullptr;
}
