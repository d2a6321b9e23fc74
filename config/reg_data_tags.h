#pragma once
// The registration record as tagged values: one field by its tag (what the
// host reads with command 68) and the whole record (what documents carry).

#include <cstdint>

#include "common/bytes.h"
#include "common/result_code.h"
#include "config/reg_data.h"

// The encoded tagged value of one field of `reg`:
//   11037 storage number, 11018 taxpayer number, 11048 / 11187 / 11009 the
//   first, second and third text (Text); 11012 registration time and 11041
//   the registration number (U32); 13105..13109 the tax with index
//   tag - 13105 in its tagged form (without a sum).
// Any other tag: UnknownRegistrationTag (14) and empty `encoded`.
ResultCode registrationTag(const RegData& reg, std::uint16_t tag, Bytes& encoded);

// The encoded values 11037, 11018, 11048, 11187, 11009 and 11041, then the
// container of each valid tax in index order. The registration time is not
// part of it.
Bytes registrationTlv(const RegData& reg);
