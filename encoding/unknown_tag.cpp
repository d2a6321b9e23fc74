#include "encoding/unknown_tag.h"

#include <string>

#include "common/diagnostics.h"

void reportUnknownTag(std::string_view reader, const Tlv& value) {
    std::string line(reader);
    line += " UNKNOWN TAG " + std::to_string(value.tag) + " " + std::to_string(value.data.size()) +
            " " + hexUpper(value.data);
    diagnosticLine(line);
}
