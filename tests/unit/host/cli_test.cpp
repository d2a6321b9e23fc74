// okta-host's command line and output, without a register: what a script
// gets for its arguments, and that --json output is always one valid object.

#include "host/tool/cli.h"

#include <gtest/gtest.h>

namespace {

using namespace hosttool;

const Command& command(const CommandTable& table, const std::string& name) {
    for (const Command& c : table)
        if (c.name == name) return c;
    throw std::runtime_error("no command " + name);
}

struct Parsed {
    bool ok;
    bool help;
    Args args;
    std::string error;
};

Parsed parse(const std::string& name, std::vector<std::string> words) {
    static const CommandTable table = allCommands();
    Parsed p;
    p.ok = parseArgs(command(table, name), words, p.args, p.help, p.error);
    return p;
}

TEST(HostToolArgs, OptionsArgumentsAndTheEndOfOptions) {
    Parsed p = parse("print", {"--bold", "--font", "3", "Итого", "--align=right"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.args.has("--bold"));
    EXPECT_EQ(p.args.value("--font"), "3");
    EXPECT_EQ(p.args.value("--align"), "right");
    EXPECT_EQ(p.args.positional, (std::vector<std::string>{"Итого"}));

    // A line of dashes is text after "--", and an unknown option before it.
    p = parse("print", {"--", "-----", "--bold"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.args.positional, (std::vector<std::string>{"-----", "--bold"}));
    EXPECT_FALSE(p.args.has("--bold"));
    p = parse("print", {"-----"});
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.find("unknown option -----"), std::string::npos) << p.error;
    EXPECT_NE(p.error.find("after --"), std::string::npos) << p.error;

    // set-serial --help asks for help: it is never the factory number.
    p = parse("set-serial", {"--help"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.help);
    p = parse("feed-cut", {"-h"});
    EXPECT_TRUE(p.ok && p.help);

    // Extra arguments and missing ones are refused.
    p = parse("clock get", {"now"});
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.find("extra argument \"now\""), std::string::npos) << p.error;
    p = parse("cashier get", {"5", "6"});
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.find("extra argument \"6\""), std::string::npos) << p.error;
    p = parse("cashier get", {});
    EXPECT_FALSE(p.ok);
    p = parse("cashier set", {"5", "--name"});
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.find("--name takes TEXT"), std::string::npos) << p.error;
    p = parse("feed-cut", {"--bold"});
    EXPECT_FALSE(p.ok) << "options of other commands are unknown here";
    p = parse("print", {"--bold=yes", "x"});
    EXPECT_FALSE(p.ok) << "a flag takes no value";
}

TEST(HostToolArgs, EverySubcommandHasItsOwnHelp) {
    const CommandTable table = allCommands();
    for (const Command& c : table) {
        const std::string help = commandHelp(c);
        EXPECT_EQ(help.rfind("usage: okta-host ", 0), 0u) << c.name;
        EXPECT_NE(help.find(" " + c.name), std::string::npos) << c.name;
        for (const Option& o : c.options) EXPECT_NE(help.find(o.name), std::string::npos);
        EXPECT_NE(help.find(c.needsCashier ? "Authorised by a cashier" : "Needs no cashier"),
                  std::string::npos)
            << c.name;
        EXPECT_NE(toolHelp(table).find(c.name), std::string::npos) << c.name;
    }
}

TEST(HostToolOutput, JsonIsAlwaysOneValidObject) {
    const Fields fields{
        {"ok", true},
        {"name", std::string("Иванова \"Аня\"\n")},
        {"closeTime", Null{}},
        {"bad", std::string("a\xFFz")},
        {"list", std::vector<std::string>{"x", "y"}},
        {"shift", Fields{{"number", 4ULL}, {"open", false}}},
        {"kinds", std::vector<Fields>{{{"count", -1LL}}, {{"count", 2LL}}}},
    };
    EXPECT_EQ(toJson(fields),
              "{\"ok\":true,\"name\":\"Иванова \\\"Аня\\\"\\n\",\"closeTime\":null,"
              "\"bad\":\"a\\ufffdz\",\"list\":[\"x\",\"y\"],"
              "\"shift\":{\"number\":4,\"open\":false},"
              "\"kinds\":[{\"count\":-1},{\"count\":2}]}\n");
    EXPECT_EQ(toText({{"closeTime", Null{}},
                      {"shift", Fields{{"number", 4ULL}}},
                      {"kinds", std::vector<Fields>{{{"count", 2LL}}}}}),
              "closeTime: -\nshift.number: 4\nkinds[0].count: 2\n");
    EXPECT_EQ(jsonQuote(std::string("\x01\x7F", 2)), "\"\\u0001\\u007f\"");
}

TEST(HostToolArgs, NumbersAreDecimalOrHexadecimalNeverOctal) {
    long long v = 0;
    ASSERT_TRUE(parseNumber("0123", 0, 9999, v));
    EXPECT_EQ(v, 123) << "a password with a leading zero stays itself";
    ASSERT_TRUE(parseNumber("0x1F", 0, 9999, v));
    EXPECT_EQ(v, 31);
    EXPECT_FALSE(parseNumber("-1", -5, 5, v));
    EXPECT_FALSE(parseNumber("12a", 0, 9999, v));
    EXPECT_FALSE(parseNumber("21", 1, 20, v));
}

}  // namespace
