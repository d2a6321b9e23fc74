#pragma once
// The input of the document targets: the open data's first byte, then a
// stream of tagged values as the host would add them one by one; a value
// of tag 0 carries the close data and ends the document. Bytes after the
// last whole value are ignored.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "encoding/tlv.h"

namespace fuzz {

struct DocumentInput {
    std::uint8_t open = 0;
    std::vector<Tlv> items;
    std::optional<Bytes> closeData;  // none: the document is never closed
};

inline std::optional<DocumentInput> readDocumentInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return std::nullopt;
    DocumentInput input;
    input.open = data[0];
    std::span<const std::uint8_t> rest(data + 1, size - 1);
    Tlv value;
    while (!rest.empty() && value.decodeFront(rest)) {
        if (value.tag == 0) {
            input.closeData = value.data;
            break;
        }
        input.items.push_back(value);
    }
    return input;
}

}  // namespace fuzz
