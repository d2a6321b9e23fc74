#include "config/model_data.h"

#include <algorithm>

#include "common/cp866.h"
#include "common/crc.h"
#include "common/record_text.h"

ModelData::ModelData() {
    setModelCode(kModelCode);
    setModelName(defaultModelName());
}

std::string ModelData::defaultModelName() { return cp866::fromUtf8("ОКТА-80-Ф"); }

ModelData ModelData::decode(const std::uint8_t* p) {
    ModelData m;
    std::copy(p, p + kSize, m.bytes_.begin());
    return m;
}

Bytes ModelData::encode() const { return Bytes(bytes_.begin(), bytes_.end()); }

std::uint16_t ModelData::modelCode() const { return le::u16(&bytes_[kCodeOffset]); }

void ModelData::setModelCode(std::uint16_t code) { le::store16(&bytes_[kCodeOffset], code); }

std::string ModelData::serialText() const {
    return record_text::read(&bytes_[kSerialOffset], kSerialSize);
}

std::string ModelData::modelName() const {
    return record_text::read(&bytes_[kNameOffset], kNameSize);
}

std::uint32_t ModelData::checkValue() const { return le::u32(&bytes_[kCheckOffset]); }

bool ModelData::setSerial(std::string_view serial) {
    return record_text::write(&bytes_[kSerialOffset], kSerialSize, serial);
}

bool ModelData::setModelName(std::string_view name) {
    return record_text::write(&bytes_[kNameOffset], kNameSize, name);
}

bool ModelData::isValid() const {
    const std::string serial = serialText();
    const bool digitsOnly =
        std::all_of(serial.begin(), serial.end(), [](char c) { return c >= '0' && c <= '9'; });
    const std::uint32_t check = checkValue();
    return modelCode() != 0 && !modelName().empty() && !serial.empty() && digitsOnly &&
           check != 0 && check != 0xFFFFFFFF;
}

std::uint32_t ModelData::computeCheckValue(std::string_view key) const {
    crc::Crc32 crc;
    crc.update(toBytes(std::to_string(modelCode())));
    crc.update(toBytes(serialText()));
    crc.update(toBytes(key));
    return crc.value();
}

bool ModelData::sealModel(std::string_view key) {
    le::store32(&bytes_[kCheckOffset], computeCheckValue(key));
    return isValid();
}

bool ModelData::checkModel(std::string_view key) const {
    return computeCheckValue(key) == checkValue();
}

bool ModelData::operator==(const ModelData& other) const {
    return modelCode() == other.modelCode() && modelName() == other.modelName() &&
           serialText() == other.serialText() && checkValue() == other.checkValue();
}
