#include "documents/fiscal_sign.h"

#include "common/crc.h"

std::uint32_t fiscalSignOf(const Bytes& deviceKey, std::string_view serialNumber,
                           const Bytes& signData) {
    crc::Crc32 crc;
    crc.update(deviceKey);
    crc.update(toBytes(serialNumber));
    crc.update(signData);
    return crc.value();
}
