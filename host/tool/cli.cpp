#include "host/cli.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "common/result_code.h"

namespace hostkit {

bool Context::connect() {
    if (client.isOpen()) return true;
    if (port.empty()) {
        fail(*this, kUsage, "no port: give --port PATH or set OKTA_PORT");
        return false;
    }
    std::string error;
    if (!client.open(port, error)) {
        fail(*this, kNoLink, error);
        return false;
    }
    return true;
}

int Context::call(std::uint8_t command, const Bytes& data, Response& r, std::uint32_t id) {
    if (!connect()) return port.empty() ? kUsage : kNoLink;
    std::string error;
    if (!client.request(command, data, r, error, id, timeoutMs)) return fail(*this, kNoLink, error);
    if (r.code != 0)
        return fail(*this, kRegisterRefused,
                    "the register answered " + std::to_string(r.code) + ": " +
                        std::string(resultCodeText(r.code)),
                    r.code);
    return kOk;
}

Bytes Context::cashierPrefix() const {
    Bytes b{cashier};
    le::put32(b, password);
    return b;
}

void Context::print(const Fields& fields) const {
    std::fputs((json ? toJson(fields) : toText(fields)).c_str(), stdout);
    std::fflush(stdout);
}

int fail(const Context& ctx, int status, const std::string& message, int code) {
    std::cerr << "okta-host: " << message << "\n";
    if (ctx.json) {
        Fields f{{"ok", false}, {"error", message}};
        if (code >= 0) f.push_back({"code", static_cast<long long>(code)});
        std::fputs(toJson(f).c_str(), stdout);
    }
    return status;
}

bool takeFlag(std::vector<std::string>& args, const std::string& flag) {
    auto it = std::find(args.begin(), args.end(), flag);
    if (it == args.end()) return false;
    args.erase(it);
    return true;
}

bool takeOption(std::vector<std::string>& args, const std::string& option, std::string& value) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == option && i + 1 < args.size()) {
            value = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return true;
        }
        if (args[i].rfind(option + "=", 0) == 0) {
            value = args[i].substr(option.size() + 1);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

bool parseNumber(const std::string& text, long long min, long long max, long long& value) {
    if (text.empty()) return false;
    try {
        std::size_t used = 0;
        long long v = std::stoll(text, &used, 0);
        if (used != text.size() || v < min || v > max) return false;
        value = v;
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace hostkit
