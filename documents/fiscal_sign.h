#pragma once
// The fiscal sign of a document: the CRC-32 (ISO-HDLC: reflected
// 0x04C11DB7, initial value and final complement 0xFFFFFFFF) over the
// device key, the serial number text of the register and the document's
// own signed bytes, one after another. It binds the document to the device
// that made it: only the holder of the key can compute it.

#include <cstdint>
#include <string_view>

#include "common/bytes.h"

std::uint32_t fiscalSignOf(const Bytes& deviceKey, std::string_view serialNumber,
                           const Bytes& signData);
