#include "host/tool/cli.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace hosttool {

namespace {

constexpr const char* kGlobals =
    "[--port PATH] [--json] [--trace] [--timeout MS] [--cashier N] [--password P]";

// `text` broken into lines of at most `width` columns at spaces, every line
// after the first indented by `indent` spaces.
std::string wrap(const std::string& text, std::size_t width, std::size_t indent) {
    std::string out, line;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            out += line + "\n" + std::string(indent, ' ');
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    return out + line;
}

const char* kindOf(int status) {
    switch (status) {
        case kRefused:
            return "refused";
        case kUsage:
            return "usage";
        case kNoLine:
            return "no-line";
        default:
            return "no-answer";
    }
}

}  // namespace

bool Context::connect() {
    if (client.isOpen()) return true;
    if (port.empty()) {
        fail(kNoLine, "no line: give --port PATH or set OKTA_PORT");
        return false;
    }
    std::string error;
    if (!client.open(port, error)) {
        fail(kNoLine, error);
        return false;
    }
    return true;
}

int Context::done(const Fields& fields) const {
    if (json) {
        Fields all{{"ok", true}};
        all.insert(all.end(), fields.begin(), fields.end());
        std::fputs(toJson(all).c_str(), stdout);
    } else {
        std::fputs(toText(fields).c_str(), stdout);
    }
    std::fflush(stdout);
    return kOk;
}

int Context::fail(int status, const std::string& message, const Fields& extra) const {
    std::cerr << "okta-host: " << message << "\n";
    if (json) {
        Fields all{{"ok", false}, {"error", message}, {"kind", std::string(kindOf(status))}};
        const bool hasCode = !extra.empty() && extra.front().name == "code";
        if (!hasCode) all.insert(all.end(), {{"code", Null{}}, {"meaning", Null{}}});
        all.insert(all.end(), extra.begin(), extra.end());
        std::fputs(toJson(all).c_str(), stdout);
        std::fflush(stdout);
    }
    return status;
}

int Context::refused(const hostkit::Refusal& refusal, const Fields& extra) const {
    Fields fields{{"code", static_cast<long long>(refusal.code)},
                  {"meaning", std::string(refusal.meaning())}};
    if (auto tag = refusal.missingTag())
        fields.push_back({"missingTag", static_cast<unsigned long long>(*tag)});
    fields.insert(fields.end(), extra.begin(), extra.end());
    return fail(kRefused, refusal.describe(), fields);
}

bool Args::has(const std::string& option) const {
    for (const auto& [name, value] : options)
        if (name == option) return true;
    return false;
}

std::string Args::value(const std::string& option) const {
    for (const auto& [name, value] : options)
        if (name == option) return value;
    return {};
}

bool parseArgs(const Command& command, const std::vector<std::string>& words, Args& args,
               bool& helpAsked, std::string& error) {
    helpAsked = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (optionsEnded || w.size() < 2 || w[0] != '-') {
            args.positional.push_back(w);
            continue;
        }
        if (w == "--") {
            optionsEnded = true;
            continue;
        }
        if (w == "--help" || w == "-h") {
            helpAsked = true;
            continue;
        }
        const std::size_t eq = w.find('=');
        const std::string name = w.substr(0, eq);
        const Option* option = nullptr;
        for (const Option& o : command.options)
            if (o.name == name) option = &o;
        if (!option) {
            error = "unknown option " + name + " for " + command.name +
                    " (text that begins with - goes after --)";
            return false;
        }
        if (!option->repeatable && args.has(name)) {
            error = name + " is given twice";
            return false;
        }
        if (option->value.empty()) {
            if (eq != std::string::npos) {
                error = name + " takes no value";
                return false;
            }
            args.options.emplace_back(name, "");
        } else if (eq != std::string::npos) {
            args.options.emplace_back(name, w.substr(eq + 1));
        } else if (i + 1 < words.size()) {
            args.options.emplace_back(name, words[++i]);
        } else {
            error = name + " takes " + option->value;
            return false;
        }
    }
    if (helpAsked) return true;
    const std::size_t n = args.positional.size();
    if (n < command.minArgs || n > command.maxArgs) {
        error = command.name + " takes " + command.synopsis;
        if (command.synopsis.empty()) error = command.name + " takes no arguments";
        if (n > command.maxArgs)
            error += "; extra argument \"" + args.positional[command.maxArgs] + "\"";
        return false;
    }
    return true;
}

std::string commandHelp(const Command& c) {
    std::string text = "usage: okta-host " + std::string(kGlobals) + " " + c.name;
    if (!c.synopsis.empty()) text += " " + c.synopsis;
    text += "\n\n" + wrap(c.summary, 96, 0) + "\n";
    if (!c.options.empty()) {
        text += "\noptions:\n";
        for (const Option& o : c.options) {
            const std::string head = o.name + (o.value.empty() ? "" : " " + o.value);
            text += "  " + head + std::string(head.size() < 22 ? 22 - head.size() : 1, ' ') +
                    wrap(o.help + (o.repeatable ? " (may be repeated)" : ""), 72, 24) + "\n";
        }
    }
    text += c.needsCashier ? "\nAuthorised by a cashier: --cashier N --password P (default: the "
                             "service cashier 20, password 271828).\n"
                           : "\nNeeds no cashier.\n";
    return text;
}

std::string toolHelp(const CommandTable& table) {
    std::string text = "usage: okta-host " + std::string(kGlobals) + " COMMAND [ARGS]\n" +
                       "       okta-host help COMMAND     (or COMMAND --help)\n\ncommands:\n";
    for (const Command& c : table) {
        const std::string synopsis = c.synopsis.empty() ? c.name : c.name + " " + c.synopsis;
        const std::string mark = c.needsCashier ? "* " : "  ";
        const std::string summary = wrap(c.summary, 63, 33);
        if (synopsis.size() <= 30)
            text += mark + synopsis + std::string(31 - synopsis.size(), ' ') + summary + "\n";
        else
            text += mark + synopsis + "\n" + std::string(33, ' ') + summary + "\n";
    }
    text +=
        "\n* needs a cashier: --cashier N --password P, by default the service cashier 20 with\n"
        "  the factory password 271828.\n"
        "The port defaults to $OKTA_PORT; --trace (or OKTA_TRACE=1) prints the exchange on\n"
        "standard error. Exit status: 0 success, 1 the register refused, 2 a bad command line\n"
        "or value, 3 no line to open, 4 no answer or an unreadable one.\n";
    return text;
}

bool parseNumber(const std::string& text, long long min, long long max, long long& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') return false;
    try {
        std::size_t used = 0;
        const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
        const long long v = std::stoll(text, &used, hex ? 16 : 10);
        if (used != text.size() || v < min || v > max) return false;
        value = v;
        return true;
    } catch (...) {
        return false;
    }
}

const Command* findCommand(const CommandTable& table, const std::vector<std::string>& words,
                           std::size_t& used) {
    for (std::size_t n = std::min<std::size_t>(2, words.size()); n >= 1; --n) {
        std::string joined;
        for (std::size_t i = 0; i < n; ++i) joined += (i ? " " : "") + words[i];
        for (const Command& c : table) {
            if (c.name == joined) {
                used = n;
                return &c;
            }
        }
    }
    return nullptr;
}

CommandTable allCommands() {
    CommandTable table;
    addBasicCommands(table);
    addIdentityCommands(table);
    addConfigCommands(table);
    addPrinterCommands(table);
    addDocumentCommands(table);
    addDocumentStepCommands(table);
    addCounterCommands(table);
    addReportCommands(table);
    return table;
}

}  // namespace hosttool
