#include "storage/records.h"

#include <limits>

#include "common/crc.h"

namespace {

// Bytes 0..25 are laid out alike in CounterSet and GrossCounterSet.
template <class Set>
void appendHead(const Set& s, Bytes& out) {
    le::put16(out, s.shiftField);
    le::put16(out, s.cashInCount);
    le::put16(out, s.cashOutCount);
    le::put64(out, s.cashInAmount);
    le::put64(out, s.cashOutAmount);
    le::put32(out, s.receiptCount);
}

template <class Set>
void readHead(Set& s, le::Reader& in) {
    s.shiftField = in.u16();
    s.cashInCount = in.u16();
    s.cashOutCount = in.u16();
    s.cashInAmount = in.u64();
    s.cashOutAmount = in.u64();
    s.receiptCount = in.u32();
}

template <class Entry>
void appendEntryHead(const Entry& e, Bytes& out) {
    le::put8(out, e.kind);
    le::put32(out, e.count);
    le::put64(out, e.total);
    for (std::uint64_t v : e.byPayment) le::put64(out, v);
}

template <class Entry>
void readEntryHead(Entry& e, le::Reader& in) {
    e.kind = in.u8();
    e.count = in.u32();
    e.total = in.u64();
    for (std::uint64_t& v : e.byPayment) v = in.u64();
}

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

// Adds without wrapping: a counter that reached its largest value stays there.
template <class T>
void addSaturating(T& acc, T v) {
    acc = acc > std::numeric_limits<T>::max() - v ? std::numeric_limits<T>::max()
                                                  : static_cast<T>(acc + v);
}

// Everything but the tax sums, shared by both accumulators.
template <class Acc>
void sumCommon(Acc& acc, const CounterSet& r) {
    addSaturating<std::uint16_t>(acc.shiftField, 1);
    addSaturating(acc.cashInCount, r.cashInCount);
    addSaturating(acc.cashOutCount, r.cashOutCount);
    addSaturating(acc.cashInAmount, r.cashInAmount);
    addSaturating(acc.cashOutAmount, r.cashOutAmount);
    addSaturating(acc.receiptCount, r.receiptCount);
    for (std::size_t k = 0; k < kOperationKinds; ++k) {
        auto& a = acc.operations[k];
        const OperationTotals& o = r.operations[k];
        addSaturating(a.count, o.count);
        addSaturating(a.total, o.total);
        for (std::size_t i = 0; i < a.byPayment.size(); ++i)
            addSaturating(a.byPayment[i], o.byPayment[i]);
    }
    acc.setKinds();
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

void OperationTotals::appendTo(Bytes& out) const {
    appendEntryHead(*this, out);
    for (std::uint64_t v : byTax) le::put64(out, v);
}

OperationTotals OperationTotals::read(le::Reader& in) {
    OperationTotals o;
    readEntryHead(o, in);
    for (std::uint64_t& v : o.byTax) v = in.u64();
    return o;
}

void CounterSet::setKinds() {
    for (std::size_t k = 0; k < kOperationKinds; ++k)
        operations[k].kind = static_cast<std::uint8_t>(k);
}

void CounterSet::appendTo(Bytes& out) const {
    appendHead(*this, out);
    le::put64(out, cashInDrawer);
    for (const OperationTotals& o : operations) o.appendTo(out);
}

Bytes CounterSet::encode() const { return encodeRecord(*this); }

CounterSet CounterSet::read(le::Reader& in) {
    CounterSet s;
    readHead(s, in);
    s.cashInDrawer = in.u64();
    for (OperationTotals& o : s.operations) o = OperationTotals::read(in);
    return s;
}

CounterSet CounterSet::decode(const std::uint8_t* p) { return decodeRecord<CounterSet>(p); }

void GrossOperationTotals::appendTo(Bytes& out) const { appendEntryHead(*this, out); }

GrossOperationTotals GrossOperationTotals::read(le::Reader& in) {
    GrossOperationTotals o;
    readEntryHead(o, in);
    return o;
}

void GrossCounterSet::setKinds() {
    for (std::size_t k = 0; k < kOperationKinds; ++k)
        operations[k].kind = static_cast<std::uint8_t>(k);
}

void GrossCounterSet::appendTo(Bytes& out) const {
    appendHead(*this, out);
    for (const GrossOperationTotals& o : operations) o.appendTo(out);
}

Bytes GrossCounterSet::encode() const { return encodeRecord(*this); }

GrossCounterSet GrossCounterSet::read(le::Reader& in) {
    GrossCounterSet s;
    readHead(s, in);
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
        for (std::size_t i = 0; i < taxes.size(); ++i)
            addSaturating(taxes[i], record.operations[k].byTax[i]);
    }
}

void sumInto(GrossCounterSet& acc, const CounterSet& record) { sumCommon(acc, record); }
