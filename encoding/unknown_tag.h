#pragma once
// The diagnostic line of a reader that meets a tagged value it does not
// know and skips: the reader's name, " UNKNOWN TAG ", the tag in decimal, a
// space, the value length in decimal, a space and the value in upper-case
// hexadecimal, e.g. "setStoredTag UNKNOWN TAG 11500 2 0A1B".

#include <string_view>

#include "encoding/tlv.h"

void reportUnknownTag(std::string_view reader, const Tlv& value);
