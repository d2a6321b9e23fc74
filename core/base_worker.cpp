#include "core/base_worker.h"

#include <algorithm>
#include <ctime>

#include "core/status.h"
#include "platform/board.h"

namespace {
std::int64_t computeBuildInstant() {
    std::tm tm{};
    strptime("Jan  9 2023 12:36:59", "%b %d %Y %H:%M:%S", &tm);
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

const std::int64_t kBuildInstant = computeBuildInstant();
}  // namespace

std::int64_t buildInstant() { return kBuildInstant; }

Authorisation BaseWorker::authoriseRequest(const Bytes& data) {
    Authorisation a;
    constexpr std::size_t kPrefixSize = 5;
    if (data.size() < kPrefixSize) return a;
    a.payload.assign(data.begin() + kPrefixSize, data.end());
    const std::uint8_t number = data[0];
    if (!validRecordNumber(number)) return a;
    const bool authorised = cashiers().authoriseCashier(number, le::u32(&data[1]), a.cashier);
    a.result = authorised ? ResultCode::Success : ResultCode::WrongPassword;
    return a;
}

bool BaseWorker::clockValid() {
    const std::int64_t lastDocument = FrStatus::status().lastDocumentTime();
    return platform::now() >= std::max(lastDocument, kBuildInstant);
}
