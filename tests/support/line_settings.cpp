#include "tests/support/line_settings.h"

namespace testing_support {

bool lineSettingsApply(rs::SerialPort& port) {
    struct termios2 t {};
    return port.getTermios(t) == 0;
}

}  // namespace testing_support
