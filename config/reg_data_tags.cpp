#include "config/reg_data_tags.h"

#include "encoding/tags.h"
#include "encoding/tlv.h"

namespace {

// The text fields in the order of the record's tagged form.
struct TextField {
    std::uint16_t tag;
    std::string (RegData::*text)() const;
};
constexpr TextField kTextFields[] = {
    {tags::kStorageNumber, &RegData::storageNumberText},
    {tags::kTaxpayerNumber, &RegData::taxpayerNumberText},
    {tags::kRegistrationFirstText, &RegData::regText1},
    {tags::kRegistrationSecondText, &RegData::regText2},
    {tags::kRegistrationThirdText, &RegData::regText3},
};

}  // namespace

ResultCode registrationTag(const RegData& reg, std::uint16_t tag, Bytes& encoded) {
    encoded.clear();
    for (const TextField& field : kTextFields) {
        if (field.tag == tag) {
            encoded = Tlv().setText(tag, (reg.*field.text)()).encode();
            return ResultCode::Success;
        }
    }
    if (tag == tags::kDateTime) {
        encoded = Tlv().setU32(tag, reg.registrationTime()).encode();
    } else if (tag == tags::kRegistrationNumber) {
        encoded = Tlv().setU32(tag, reg.registrationNumber()).encode();
    } else if (tag >= tags::kTaxFirst && tag <= tags::kTaxLast) {
        const unsigned index = tag - tags::kTaxFirst;
        encoded = reg.taxAt(index).toTlv(index).encode();
    } else {
        return ResultCode::UnknownRegistrationTag;
    }
    return ResultCode::Success;
}

Bytes registrationTlv(const RegData& reg) {
    Bytes out;
    for (const TextField& field : kTextFields)
        Tlv().setText(field.tag, (reg.*field.text)()).encodeTo(out);
    Tlv().setU32(tags::kRegistrationNumber, reg.registrationNumber()).encodeTo(out);
    for (unsigned index = 0; index < Tax::kCount; ++index) {
        const Tax tax = reg.taxAt(index);
        if (tax.isValid()) tax.toTlv(index).encodeTo(out);
    }
    return out;
}
