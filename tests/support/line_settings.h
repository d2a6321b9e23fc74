#pragma once
// Whether a port's line settings (TCGETS2/TCSETS2) take effect here.
// qemu-user does not translate those requests: there a port keeps the
// pseudo-terminal's settings, and its reads never time out.

#include "serial/serialport.h"

namespace testing_support {

bool lineSettingsApply(rs::SerialPort& port);

}  // namespace testing_support
