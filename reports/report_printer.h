#pragma once
// Where the report commands print: the printer's paper status and one job
// at a time. Every job is checked: a job whose status check fails is lost
// (the printer is reset, nothing is repeated) and its result, 53 or 54, is
// handed back, so each report decides whether that failure ends it.

#include <string_view>

#include "common/result_code.h"
#include "serial/serialport.h"

namespace report {

class ReportPrinter {
  public:
    virtual ~ReportPrinter() = default;

    // The paper status a report starts on: 0, 53 (no printer, no answer
    // even after a reset) or 54 (paper out).
    virtual ResultCode queryStatus() = 0;

    // Prints one job and checks the status after it: 0, 53 or 54.
    virtual ResultCode print(std::string_view job) = 0;

    // A job whose failure the report does not look at (titles, body lines,
    // the registration footer): the paper shows what was lost.
    void printUnchecked(std::string_view job) { (void)print(job); }
};

// The core's printer port; it is opened first when it is not open yet, so
// a printer that was missing at start-up is used once it answers.
class PortPrinter final : public ReportPrinter {
  public:
    explicit PortPrinter(rs::SerialPort& port);

    ResultCode queryStatus() override;
    ResultCode print(std::string_view job) override;

  private:
    rs::SerialPort& port_;
};

}  // namespace report
