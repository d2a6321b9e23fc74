#include "encoding/additional_line.h"

#include "encoding/tags.h"

Tlv AdditionalLine::toTlv() const {
    std::vector<Tlv> children(2);
    children[0].setU8(tags::kAdditionalLineNumber, static_cast<std::uint8_t>(number));
    children[1].setText(tags::kAdditionalLineText, text);
    return Tlv().setContainer(tags::kAdditionalLine, children);
}

bool AdditionalLine::fromTlv(const Tlv& container) {
    if (container.tag != tags::kAdditionalLine) return false;
    const TlvMap children = decodeMap(container);
    number = lookup(children, tags::kAdditionalLineNumber).getU8();
    text = lookup(children, tags::kAdditionalLineText).getText();
    return true;
}
