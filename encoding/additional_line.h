#pragma once
// An additional line of a document: container 12118 holding 12119 (its
// number, one byte) and 12120 (its text).

#include <string>

#include "encoding/tlv.h"

struct AdditionalLine {
    int number = -1;
    std::string text;  // CP866

    // Number 0 or more and a text.
    bool usable() const { return number >= 0 && !text.empty(); }

    // Container 12118: 12119 then 12120.
    Tlv toTlv() const;

    // Reads the children of container 12118 (a missing child gives 0 or an
    // empty text); false for any other container tag.
    bool fromTlv(const Tlv& container);
};
