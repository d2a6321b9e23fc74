#include "storage/records.h"

#include "common/crc.h"

namespace {

template <class Record>
Bytes encodeRecord(const Record& r) {
    Bytes out;
    out.reserve(Record::kSize);
    r.appendTo(out);
    return out;
}

template <class Record>
Record decodeRecord(const std::uint8_t* p) {
    le::Reader in(p, Record::kSize);
    return Record::read(in);
}

// Adds into a field of the same width, wrapping at that width as the stored
// counters do.
template <class T>
void add(T& acc, T v) {
    acc = static_cast<T>(acc + v);
}

// Everything but the tax sums, shared by both accumulators.
template <class Acc>
void sumCommon(Acc& acc, const CounterSet& r) {
    add<std::uint16_t>(acc.shiftField, 1);
    add(acc.cashInCount, r.cashInCount);
    add(acc.cashOutCount, r.cashOutCount);
    add(acc.cashInAmount, r.cashInAmount);
    add(acc.cashOutAmount, r.cashOutAmount);
    add(acc.receiptCount, r.receiptCount);
    for (std::size_t k = 0; k < kOperationKinds; ++k) {
        auto& a = acc.operations[k];
        const OperationTotals& o = r.operations[k];
        a.kind = static_cast<std::uint8_t>(k);
        add(a.count, o.count);
        add(a.total, o.total);
        for (std::size_t i = 0; i < a.byPayment.size(); ++i) add(a.byPayment[i], o.byPayment[i]);
    }
}

}  // namespace

std::uint16_t DocDescriptor::computeHeaderCrc() const {
    DocDescriptor unnumbered = *this;
    unnumbered.registrationNumber = 0;
    Bytes bytes = unnumbered.encode();
    return crc::crc16(bytes.data(), kHeaderCrcOffset);
}

void DocDescriptor::appendTo(Bytes& out) const {
    le::put8(out, type);
    le::put32(out, number);
    le::put32(out, dateTime);
    le::put16(out, shiftNumber);
    le::put32(out, fiscalSign);
    le::put8(out, cashierNumber);
    le::put16(out, dataLength);
    le::put64(out, dataOffset);
    le::put16(out, dataCrc);
    le::put32(out, registrationNumber);
    out.insert(out.end(), 6, 0);
    le::put16(out, headerCrc);
    out.insert(out.end(), 24, 0);
}

Bytes DocDescriptor::encode() const { return encodeRecord(*this); }

DocDescriptor DocDescriptor::read(le::Reader& in) {
    DocDescriptor d;
    d.type = in.u8();
    d.number = in.u32();
    d.dateTime = in.u32();
    d.shiftNumber = in.u16();
    d.fiscalSign = in.u32();
    d.cashierNumber = in.u8();
    d.dataLength = in.u16();
    d.dataOffset = in.u64();
    d.dataCrc = in.u16();
    d.registrationNumber = in.u32();
    in.bytes(6);
    d.headerCrc = in.u16();
    in.bytes(24);
    return d;
}

DocDescriptor DocDescriptor::decode(const std::uint8_t* p) {
    return decodeRecord<DocDescriptor>(p);
}

void GrossOperationTotals::appendTo(Bytes& out) const {
    le::put8(out, kind);
    le::put32(out, count);
    le::put64(out, total);
    for (std::uint64_t v : byPayment) le::put64(out, v);
}

GrossOperationTotals GrossOperationTotals::read(le::Reader& in) {
    GrossOperationTotals o;
    o.kind = in.u8();
    o.count = in.u32();
    o.total = in.u64();
    for (std::uint64_t& v : o.byPayment) v = in.u64();
    return o;
}

void OperationTotals::appendTo(Bytes& out) const {
    GrossOperationTotals::appendTo(out);
    for (std::uint64_t v : byTax) le::put64(out, v);
}

OperationTotals OperationTotals::read(le::Reader& in) {
    OperationTotals o;
    static_cast<GrossOperationTotals&>(o) = GrossOperationTotals::read(in);
    for (std::uint64_t& v : o.byTax) v = in.u64();
    return o;
}

void CounterHead::appendHeadTo(Bytes& out) const {
    le::put16(out, shiftField);
    le::put16(out, cashInCount);
    le::put16(out, cashOutCount);
    le::put64(out, cashInAmount);
    le::put64(out, cashOutAmount);
    le::put32(out, receiptCount);
}

void CounterHead::readHead(le::Reader& in) {
    shiftField = in.u16();
    cashInCount = in.u16();
    cashOutCount = in.u16();
    cashInAmount = in.u64();
    cashOutAmount = in.u64();
    receiptCount = in.u32();
}

void CounterSet::appendTo(Bytes& out) const {
    appendHeadTo(out);
    le::put64(out, cashInDrawer);
    for (const OperationTotals& o : operations) o.appendTo(out);
}

Bytes CounterSet::encode() const { return encodeRecord(*this); }

CounterSet CounterSet::read(le::Reader& in) {
    CounterSet s;
    s.readHead(in);
    s.cashInDrawer = in.u64();
    for (OperationTotals& o : s.operations) o = OperationTotals::read(in);
    return s;
}

CounterSet CounterSet::decode(const std::uint8_t* p) { return decodeRecord<CounterSet>(p); }

void GrossCounterSet::appendTo(Bytes& out) const {
    appendHeadTo(out);
    for (const GrossOperationTotals& o : operations) o.appendTo(out);
}

Bytes GrossCounterSet::encode() const { return encodeRecord(*this); }

GrossCounterSet GrossCounterSet::read(le::Reader& in) {
    GrossCounterSet s;
    s.readHead(in);
    for (GrossOperationTotals& o : s.operations) o = GrossOperationTotals::read(in);
    return s;
}

GrossCounterSet GrossCounterSet::decode(const std::uint8_t* p) {
    return decodeRecord<GrossCounterSet>(p);
}

void DepartmentTotals::appendTo(Bytes& out) const {
    for (std::uint64_t v : amounts) le::put64(out, v);
}

Bytes DepartmentTotals::encode() const { return encodeRecord(*this); }

DepartmentTotals DepartmentTotals::read(le::Reader& in) {
    DepartmentTotals d;
    for (std::uint64_t& v : d.amounts) v = in.u64();
    return d;
}

DepartmentTotals DepartmentTotals::decode(const std::uint8_t* p) {
    return decodeRecord<DepartmentTotals>(p);
}

void sumInto(CounterSet& acc, const CounterSet& record) {
    sumCommon(acc, record);
    for (std::size_t k = 0; k < kOperationKinds; ++k) {
        auto& taxes = acc.operations[k].byTax;
        for (std::size_t i = 0; i < taxes.size(); ++i) add(taxes[i], record.operations[k].byTax[i]);
    }
}

void sumInto(GrossCounterSet& acc, const CounterSet& record) { sumCommon(acc, record); }
