#pragma once
// A report printer for the tests: it keeps every job it is given and fails
// the jobs the test chooses, the way paper running out or a printer going
// off line would.

#include <string>
#include <string_view>
#include <vector>

#include "common/cp866.h"
#include "reports/report_printer.h"

namespace paper {

class FakePrinter : public report::ReportPrinter {
  public:
    ResultCode queryStatus() override { return paperRunOut_ ? failure_ : status; }

    ResultCode print(std::string_view job) override {
        jobs.emplace_back(job);
        if (!paperRunOut_ && !runOutAt_.empty() && job.find(runOutAt_) != std::string_view::npos)
            paperRunOut_ = true;
        if (paperRunOut_) return failure_;
        if (!failOnce_.empty() && job.find(failOnce_) != std::string_view::npos) {
            failOnce_.clear();
            return failure_;
        }
        return ResultCode::Success;
    }

    // The first job holding `utf8` fails, and every job after it.
    void runOutAt(const std::string& utf8, ResultCode failure = ResultCode::PaperOut) {
        runOutAt_ = cp866::fromUtf8(utf8);
        failure_ = failure;
    }
    // Only the first job holding `utf8` fails.
    void failOnceAt(const std::string& utf8, ResultCode failure = ResultCode::PaperOut) {
        failOnce_ = cp866::fromUtf8(utf8);
        failure_ = failure;
    }
    // Paper back in: nothing fails any more.
    void refill() {
        paperRunOut_ = false;
        runOutAt_.clear();
        failOnce_.clear();
    }

    // The jobs that hold `utf8`.
    std::size_t jobsWith(const std::string& utf8) const {
        std::size_t n = 0;
        for (const std::string& job : jobs)
            n += job.find(cp866::fromUtf8(utf8)) != std::string::npos;
        return n;
    }
    // Every job's bytes, one after another.
    std::string all() const {
        std::string out;
        for (const std::string& job : jobs) out += job;
        return out;
    }

    ResultCode status = ResultCode::Success;  // the answer to a status query
    std::vector<std::string> jobs;

  private:
    std::string runOutAt_;
    std::string failOnce_;
    bool paperRunOut_ = false;
    ResultCode failure_ = ResultCode::PaperOut;
};

}  // namespace paper
