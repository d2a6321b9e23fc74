#include "config/reg_data.h"

#include <algorithm>

#include "common/crc.h"
#include "common/record_text.h"

namespace {

bool isDigit(std::uint8_t b) { return b >= '0' && b <= '9'; }

// Every byte a digit; past the first ten, zero bytes are allowed too.
bool acceptableNumber(const std::uint8_t* number, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (isDigit(number[i])) continue;
        if (i >= 10 && number[i] == 0) continue;
        return false;
    }
    return true;
}

}  // namespace

RegData::RegData() {
    for (std::size_t i = 0; i < kTaxCount; ++i) setTaxAt(i, Tax{});  // kind 3, rate 0
}

RegData RegData::decode(const std::uint8_t* p) {
    RegData r;
    std::copy(p, p + kSize, r.bytes_.begin());
    return r;
}

Bytes RegData::encode() const { return Bytes(bytes_.begin(), bytes_.end()); }

std::string RegData::text(std::size_t offset, std::size_t size) const {
    std::string t = record_text::read(&bytes_[offset], size);
    if (record_text::full(&bytes_[offset], size)) t.push_back('\0');
    return t;
}

bool RegData::setText(std::size_t offset, std::size_t size, std::string_view t) {
    return record_text::write(&bytes_[offset], size, t);
}

std::string RegData::storageNumberText() const {
    return text(kStorageNumberOffset, kStorageNumberSize);
}
std::string RegData::taxpayerNumberText() const {
    return text(kTaxpayerNumberOffset, kTaxpayerNumberSize);
}
std::string RegData::regText1() const { return text(kText1Offset, kTextSize); }
std::string RegData::regText2() const { return text(kText2Offset, kTextSize); }
std::string RegData::regText3() const { return text(kText3Offset, kTextSize); }

bool RegData::setStorageNumber(std::string_view t) {
    return setText(kStorageNumberOffset, kStorageNumberSize, t);
}
bool RegData::setTaxpayerNumber(std::string_view t) {
    return setText(kTaxpayerNumberOffset, kTaxpayerNumberSize, t);
}
bool RegData::setRegText1(std::string_view t) { return setText(kText1Offset, kTextSize, t); }
bool RegData::setRegText2(std::string_view t) { return setText(kText2Offset, kTextSize, t); }
bool RegData::setRegText3(std::string_view t) { return setText(kText3Offset, kTextSize, t); }

std::uint32_t RegData::registrationTime() const { return le::u32(&bytes_[kTimeOffset]); }
void RegData::setRegistrationTime(std::uint32_t seconds) {
    le::store32(&bytes_[kTimeOffset], seconds);
}
std::uint32_t RegData::registrationNumber() const { return le::u32(&bytes_[kNumberOffset]); }
void RegData::setRegistrationNumber(std::uint32_t number) {
    le::store32(&bytes_[kNumberOffset], number);
}
std::uint32_t RegData::checkValue() const { return le::u32(&bytes_[kCheckOffset]); }

Bytes RegData::taxBytes(std::size_t index) const {
    if (index >= kTaxCount) return Bytes(kTaxSize, 0);
    const auto* p = &bytes_[kTaxesOffset + index * kTaxSize];
    return Bytes(p, p + kTaxSize);
}

Tax RegData::taxAt(std::size_t index) const {
    Tax tax;  // an index past the five reads as an all-zero record
    tax.kind = Tax::kNoTax;
    if (index >= kTaxCount) return tax;
    // The record as stored, valid or not: its tagged form shows what is there.
    const std::uint8_t* p = &bytes_[kTaxesOffset + index * kTaxSize];
    const std::uint16_t word = le::u16(p);
    tax.rate = word & Tax::kRateMask;
    tax.kind = static_cast<std::uint8_t>(word >> 14);
    tax.name = record_text::read(p + 2, Tax::kMaxName);
    return tax;
}

void RegData::setTaxAt(std::size_t index, const Tax& tax) { setTaxBytes(index, encodeTax(tax)); }

void RegData::setTaxBytes(std::size_t index, const Bytes& tax) {
    if (index >= kTaxCount || tax.size() != kTaxSize) return;
    std::copy(tax.begin(), tax.end(), bytes_.begin() + kTaxesOffset + index * kTaxSize);
}

bool RegData::hasUsableTax() const {
    for (std::size_t i = 0; i < kTaxCount; ++i) {
        const Tax tax = taxAt(i);
        if (tax.kind != Tax::kNotSet && tax.rate <= Tax::kMaxRate) return true;
    }
    return false;
}

bool RegData::isValid() const {
    return !storageNumberText().empty() && checkValue() != 0 && !taxpayerNumberText().empty() &&
           !regText1().empty() && !regText2().empty() && !regText3().empty() &&
           static_cast<std::int32_t>(registrationTime()) > 0;
}

std::uint32_t RegData::computeCheckValue(std::string_view a, std::string_view b) const {
    crc::Crc32 crc;
    crc.update(toBytes(storageNumberText()));
    crc.update(toBytes(taxpayerNumberText()));
    crc.update(toBytes(a));
    crc.update(toBytes(b));
    return crc.value();
}

bool RegData::sealRegistration(std::string_view a, std::string_view b) {
    le::store32(&bytes_[kCheckOffset], computeCheckValue(a, b));
    return isValid();
}

bool RegData::checkRegistration(std::string_view a, std::string_view b) const {
    return isValid() && computeCheckValue(a, b) == checkValue();
}

bool RegData::operator==(const RegData& other) const {
    return storageNumberText() == other.storageNumberText() && checkValue() == other.checkValue() &&
           taxpayerNumberText() == other.taxpayerNumberText() && regText1() == other.regText1() &&
           regText2() == other.regText2() && regText3() == other.regText3() &&
           registrationTime() == other.registrationTime();
}

bool acceptableStorageNumber(const std::uint8_t* number) {
    return acceptableNumber(number, RegData::kStorageNumberSize);
}

bool acceptableTaxpayerNumber(const std::uint8_t* number) {
    return acceptableNumber(number, RegData::kTaxpayerNumberSize);
}
