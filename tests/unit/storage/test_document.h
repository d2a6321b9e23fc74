#pragma once
// A document as the archive sees it, with data of chosen sizes and the
// values the bookkeeping reads set by the test. It records what the archive
// hands it (counters, restored header and tagged values).

#include <optional>
#include <vector>

#include "common/crc.h"
#include "config/identity.h"
#include "storage/stored_document.h"

namespace archive_test {

// Tags no document uses: the filler of the test data, and the counters a
// closing test document carries.
constexpr std::uint16_t kFillerTag = 60000;
constexpr std::uint16_t kCountersTag = 60001;

class TestDocument : public StoredDocument {
  public:
    explicit TestDocument(std::uint8_t type, std::vector<std::size_t> partSizes = {40})
        : model(*identity::store().factoryData()), type_(type), partSizes_(std::move(partSizes)) {}

    std::uint8_t documentType() const override { return type_; }
    bool isStorable() const override { return storable; }

    Preparation prepareForStorage(std::uint32_t number, std::uint32_t registrationNumber,
                                  const Bytes&, std::uint64_t dataOffset,
                                  PreparedDocument& out) override {
        out.parts.clear();
        for (std::size_t i = 0; i < partSizes_.size(); ++i) {
            // The first part starts with the type byte; each part is filled
            // with one tagged value of the size asked for.
            Bytes part;
            if (i == 0) part.push_back(type_);
            const std::size_t value = partSizes_[i] - part.size() - Tlv::kHeaderSize;
            Tlv filler;
            filler.tag = kFillerTag;
            filler.data.assign(value, static_cast<std::uint8_t>(i + 1));
            filler.encodeTo(part);
            if (i == 0 && carriedCounters())
                Tlv().setText(kCountersTag, toString(carriedCounters()->encode())).encodeTo(part);
            out.parts.push_back(part);
        }
        DocDescriptor& h = out.header;
        h.type = type_;
        h.number = number;
        h.dateTime = dateTimeValue;
        h.shiftNumber = shift;
        h.fiscalSign = 0x12345678;
        h.cashierNumber = 7;
        h.dataLength = static_cast<std::uint16_t>(out.parts[0].size());
        h.dataOffset = dataOffset;
        h.dataCrc = crc::crc16(out.parts[0]);
        h.registrationNumber = 0;
        h.headerCrc = h.computeHeaderCrc();
        h.registrationNumber = registrationNumber;
        return preparation;
    }

    void attachShiftCounters(const CounterSet& c) override { attachedShift = c; }
    void attachRegistrationTotals(const CounterSet& c) override { attachedTotals = c; }
    void attachGrossTotals(const GrossCounterSet& g) override { attachedGross = g; }
    const CounterSet* carriedCounters() const override {
        if (type_ == 2 && attachedShift) return &*attachedShift;
        if ((type_ == 1 || type_ == 4) && attachedTotals) return &*attachedTotals;
        return nullptr;
    }

    std::uint16_t shiftNumber() const override { return shift; }
    std::uint32_t dateTime() const override { return dateTimeValue; }
    const ModelData& modelRecord() const override { return model; }
    const RegData& registrationRecord() const override { return registration; }
    std::int64_t cashAmount() const override { return cash; }
    int receiptKind() const override { return type_ == 3 ? kind : -1; }

    // A receipt of `total` kopecks, all paid in cash, in department 1.
    void accountInto(CounterSet& c) const override {
        ++c.receiptCount;
        c.cashInDrawer += static_cast<std::uint64_t>(total);
        c.operations[kind].count += 1;
        c.operations[kind].total += static_cast<std::uint64_t>(total);
    }
    void accountInto(GrossCounterSet& g) const override {
        ++g.receiptCount;
        g.operations[kind].total += static_cast<std::uint64_t>(total);
    }
    void accountInto(DepartmentTotals& d) const override {
        d.amounts[0] += static_cast<std::uint64_t>(total);
    }

    void restoreHeader(const DocDescriptor& h) override { restored = h; }
    void setStoredTag(const Tlv& value) override {
        storedValues.push_back(value);
        if (value.tag != kCountersTag) return;
        const CounterSet counters = CounterSet::decode(value.data.data());
        if (type_ == 2)
            attachedShift = counters;
        else
            attachedTotals = counters;
    }

    bool storable = true;
    Preparation preparation = Preparation::ready;
    std::uint16_t shift = 0;
    std::uint32_t dateTimeValue = 1'800'000'000;
    std::int64_t cash = 0;
    int kind = 0;
    std::int64_t total = 0;
    ModelData model;
    RegData registration;
    std::optional<CounterSet> attachedShift, attachedTotals;
    std::optional<GrossCounterSet> attachedGross;
    std::optional<DocDescriptor> restored;
    std::vector<Tlv> storedValues;

  private:
    std::uint8_t type_;
    std::vector<std::size_t> partSizes_;
};

// Rebuilds every stored document as a TestDocument of its type.
inline DocumentFactory testFactory() {
    return [](std::uint8_t type, const ModelData&, const RegData& registration,
              std::uint8_t) -> std::shared_ptr<StoredDocument> {
        if (type < 1 || type > 7) return nullptr;
        auto d = std::make_shared<TestDocument>(type);
        d->registration = registration;
        return d;
    };
}

}  // namespace archive_test
