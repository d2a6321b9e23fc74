#include "config/base_worker.h"

#include <algorithm>

#include "platform/board.h"
#include "state/status.h"

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
    return platform::now() >= std::max(lastDocument, buildInstant());
}
