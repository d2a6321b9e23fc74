#pragma once
// What a call to the register gives back: the decoded answer, the register's
// refusal (its result code and what the code means), a failure of the line
// (nothing usable came back), or a value that was never sent because it
// breaks one of the register's rules.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "common/bytes.h"
#include "host/result_code.h"

namespace hostkit {

// The register answered with a result code other than 0.
struct Refusal {
    std::uint8_t code = 0;
    Bytes data;                // the answer's data, which some refusals carry
    std::uint8_t command = 0;  // the command refused; 0 when not known

    ResultCode result() const { return static_cast<ResultCode>(code); }
    // What the code means for the command refused (meaningOf).
    std::string meaning() const;
    // Code 37 names the tagged value that is missing.
    std::optional<std::uint16_t> missingTag() const;
    // "the register answered 22: request data of the wrong length or form"
    std::string describe() const;
};

// The line failed: not open, closed, silent past the time-out, or answers
// that could not be read. `lost` tells the register that went away (the
// line hung up, ended or failed: no wait brings an answer) from one that
// is merely silent or garbled.
struct LineFailure {
    std::string reason;
    bool lost = false;
};

// Not sent: the value breaks a rule the register would refuse it for (or
// misread it by). `rule` says which, in words.
struct Rejected {
    std::string rule;
};

// The value of a call that answers nothing but success.
struct Done {};

template <typename T>
class Result {
  public:
    Result(T value) : v_(std::move(value)) {}
    Result(Refusal r) : v_(std::move(r)) {}
    Result(LineFailure f) : v_(std::move(f)) {}
    Result(Rejected r) : v_(std::move(r)) {}

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const { return std::get<0>(v_); }
    T& value() { return std::get<0>(v_); }
    const T* operator->() const { return &value(); }

    const Refusal* refusal() const { return std::get_if<Refusal>(&v_); }
    const LineFailure* lineFailure() const { return std::get_if<LineFailure>(&v_); }
    const Rejected* rejected() const { return std::get_if<Rejected>(&v_); }

    // The failure in one line for people; empty on success.
    std::string describe() const {
        if (const Refusal* r = refusal()) return r->describe();
        if (const LineFailure* f = lineFailure()) return f->reason;
        if (const Rejected* r = rejected()) return "not sent: " + r->rule;
        return {};
    }

    // The same failure carried into a result of another type; only for a
    // result that is not ok().
    template <typename U>
    Result<U> failure() const {
        if (const Refusal* r = refusal()) return *r;
        if (const LineFailure* f = lineFailure()) return *f;
        return *rejected();
    }

  private:
    std::variant<T, Refusal, LineFailure, Rejected> v_;
};

}  // namespace hostkit
