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
        case kLost:
            return "lost";
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
        // "-5" is a (negative) number for the command to judge, no option.
        const bool negativeNumber = w.size() >= 2 && w[0] == '-' && w[1] >= '0' && w[1] <= '9';
        if (optionsEnded || w.size() < 2 || w[0] != '-' || negativeNumber) {
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
            error = "unknown option " + name + " for " + command.name;
            // Only a command that takes text has text that may begin with a dash.
            if (command.synopsis.find("[--]") != std::string::npos)
                error += " (text that begins with - goes after --)";
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
    text += c.needsCashier ? "\nAuthorised by a cashier: --cashier N --password P (or OKTA_CASHIER "
                             "and OKTA_PASSWORD; default: the service cashier 20, password "
                             "271828).\n"
                           : "\nNeeds no cashier.\n";
    return text;
}

namespace {

// One line (or two) of a command list: a mark for a command that needs a
// cashier, the synopsis and the summary.
std::string commandRow(const Command& c) {
    const std::string synopsis = c.synopsis.empty() ? c.name : c.name + " " + c.synopsis;
    const std::string mark = c.needsCashier ? "* " : "  ";
    const std::string summary = wrap(c.summary, 63, 33);
    if (synopsis.size() <= 30)
        return mark + synopsis + std::string(31 - synopsis.size(), ' ') + summary + "\n";
    return mark + synopsis + "\n" + std::string(33, ' ') + summary + "\n";
}

// The Levenshtein distance of two words.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

bool isCommandGroup(const CommandTable& table, const std::string& word) {
    for (const Command& c : table)
        if (c.name.rfind(word + " ", 0) == 0) return true;
    return false;
}

std::string groupHelp(const CommandTable& table, const std::string& group) {
    std::string text = "usage: okta-host " + std::string(kGlobals) + " " + group +
                       " SUBCOMMAND [ARGS]\n       okta-host help " + group +
                       " SUBCOMMAND     (or " + group + " SUBCOMMAND --help)\n\nsubcommands:\n";
    bool anyCashier = false;
    for (const Command& c : table) {
        if (c.name.rfind(group + " ", 0) != 0) continue;
        text += commandRow(c);
        anyCashier = anyCashier || c.needsCashier;
    }
    if (anyCashier)
        text += "\n* needs a cashier: --cashier N --password P (or OKTA_CASHIER and OKTA_PASSWORD).\n";
    return text;
}

std::string nearestCommand(const CommandTable& table, const std::string& typed) {
    std::string best;
    std::size_t bestDistance = std::string::npos;
    for (const Command& c : table) {
        // Against a whole name, or against the group alone for one word.
        for (const std::string& name : {c.name, c.name.substr(0, c.name.find(' '))}) {
            const std::size_t d = editDistance(typed, name);
            if (d < bestDistance) bestDistance = d, best = name;
        }
    }
    // Farther than a slip of the fingers is no match.
    return bestDistance <= std::max<std::size_t>(2, typed.size() / 3) ? best : std::string();
}

std::string toolHelp(const CommandTable& table) {
    std::string text = "usage: okta-host " + std::string(kGlobals) + " COMMAND [ARGS]\n" +
                       "       okta-host help COMMAND     (or COMMAND --help)\n\ncommands:\n";
    for (const Command& c : table) text += commandRow(c);
    text +=
        "\n* needs a cashier: --cashier N --password P (or OKTA_CASHIER and OKTA_PASSWORD), by\n"
        "  default the service cashier 20 with the factory password 271828.\n"
        "The port defaults to $OKTA_PORT; --trace (or OKTA_TRACE=1) prints the exchange on\n"
        "standard error. Exit status: 0 success, 1 the register refused, 2 a bad command line\n"
        "or value, 3 no line to open, 4 no answer or an unreadable one, 5 the register went away\n"
        "(its line was closed).\n";
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
