#pragma once
// Reads docs/protocol.md the way its tests need it: the example exchanges
// (whole frames in hexadecimal, `??` for a byte that varies from run to run)
// and the command sections with the okta-host line that sends each command.
//
// An example block is fenced as ```exchange; in it "> " starts a request,
// "< " its answer, and a line indented by two spaces goes on with the line
// before it.

#include <cstdint>
#include <string>
#include <vector>

#include "common/bytes.h"

namespace reference {

struct Exchange {
    int line = 0;             // of the request in the document
    Bytes request;            // sent as it is
    std::vector<int> answer;  // byte values; -1 where the document has ??
};

struct CommandSection {
    int line = 0;
    int code = 0;                 // from the heading "### Command N: ..."
    std::string sentBy;           // the words after "Sent by: `okta-host", up to the backtick
};

// The document's text; empty when it cannot be read.
std::string documentText();

// Every exchange, in document order. A malformed line is reported in
// `errors` ("line N: ...").
std::vector<Exchange> exchanges(const std::string& text, std::vector<std::string>& errors);

std::vector<CommandSection> commandSections(const std::string& text);

// The codes of the rows of the command table (the table under "## Commands"),
// with the rows that say the link serves them in `linkServed`.
std::vector<int> tableCodes(const std::string& text, std::vector<int>& linkServed);

// Whether `answer` matches the pattern byte for byte (-1 matches any byte).
bool matches(const std::vector<int>& pattern, const Bytes& answer);

// The pattern as the document writes it.
std::string patternText(const std::vector<int>& pattern);

}  // namespace reference
