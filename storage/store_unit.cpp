#include "storage/store_unit.h"

#include <algorithm>

namespace {

constexpr std::size_t kEntryHead = 1 + 8 + 4;

bool knownTarget(std::uint8_t t) {
    return t >= static_cast<std::uint8_t>(StoreTarget::archive) &&
           t <= static_cast<std::uint8_t>(StoreTarget::eeprom);
}

bool before(const StoreUnit::Write& w, StoreTarget target, std::uint64_t offset) {
    return w.target < target || (w.target == target && w.offset < offset);
}

}  // namespace

void StoreUnit::add(StoreTarget target, std::uint64_t offset, const Bytes& bytes) {
    if (bytes.empty()) return;
    std::uint64_t start = offset;
    std::uint64_t end = offset + bytes.size();
    // Every write of the target that overlaps or touches [start, end).
    auto first = std::find_if(writes_.begin(), writes_.end(), [&](const Write& w) {
        return w.target == target && w.offset + w.bytes.size() >= start;
    });
    auto last = first;
    while (last != writes_.end() && last->target == target && last->offset <= end) ++last;
    for (auto it = first; it != last; ++it) {
        start = std::min(start, it->offset);
        end = std::max(end, it->offset + it->bytes.size());
    }
    Write merged{target, start, Bytes(end - start, 0)};
    for (auto it = first; it != last; ++it)
        std::copy(it->bytes.begin(), it->bytes.end(),
                  merged.bytes.begin() + static_cast<std::ptrdiff_t>(it->offset - start));
    std::copy(bytes.begin(), bytes.end(),
              merged.bytes.begin() + static_cast<std::ptrdiff_t>(offset - start));
    auto at = writes_.erase(first, last);
    at = std::find_if(writes_.begin(), writes_.end(),
                      [&](const Write& w) { return !before(w, target, start); });
    writes_.insert(at, std::move(merged));
}

void StoreUnit::overlay(StoreTarget target, std::uint64_t offset, std::uint8_t* out,
                        std::size_t n) const {
    const std::uint64_t end = offset + n;
    for (const Write& w : writes_) {
        if (w.target != target) continue;
        const std::uint64_t from = std::max(offset, w.offset);
        const std::uint64_t to = std::min(end, w.offset + w.bytes.size());
        for (std::uint64_t i = from; i < to; ++i) out[i - offset] = w.bytes[i - w.offset];
    }
}

bool StoreUnit::touches(StoreTarget target) const {
    return std::any_of(writes_.begin(), writes_.end(),
                       [target](const Write& w) { return w.target == target; });
}

Bytes StoreUnit::encode() const {
    Bytes out;
    for (const Write& w : writes_) {
        out.push_back(static_cast<std::uint8_t>(w.target));
        le::put64(out, w.offset);
        le::put32(out, static_cast<std::uint32_t>(w.bytes.size()));
        le::putBytes(out, w.bytes);
    }
    return out;
}

bool StoreUnit::decode(const std::uint8_t* p, std::size_t n, StoreUnit& out) {
    out.writes_.clear();
    std::size_t at = 0;
    while (at < n) {
        if (n - at < kEntryHead || !knownTarget(p[at])) break;
        Write w;
        w.target = static_cast<StoreTarget>(p[at]);
        w.offset = le::u64(p + at + 1);
        const std::size_t length = le::u32(p + at + 9);
        at += kEntryHead;
        if (length == 0 || length > n - at) break;
        w.bytes.assign(p + at, p + at + length);
        at += length;
        out.writes_.push_back(std::move(w));
    }
    if (at == n) return true;
    out.writes_.clear();
    return false;
}
