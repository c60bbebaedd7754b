// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's arguments: each command declares its options once, with the help text that
// --help prints, and the parser checks what was typed against that list.

#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace gt::cli {

// Something typed wrongly: exit status 2, with the message and a pointer to --help.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct OptionSpec {
    std::string name;       // without the dashes: "size"
    std::string valueName;  // "WxH"; empty for a flag that takes no value
    std::string help;
};

struct CommandSpec {
    std::string name;                 // "adjust resize"
    std::string usage;                // "[options] INPUT OUTPUT"
    std::string summary;              // one line
    std::vector<OptionSpec> options;  // --help is always there
    int minPositionals = 0;
    int maxPositionals = 0;           // -1: any number
    std::string details;              // printed after the options
};

struct ParsedArgs {
    bool help = false;
    std::map<std::string, std::string> values;  // options with a value; the last one given wins
    std::map<std::string, bool> flags;
    std::map<std::string, std::size_t> positions;  // where each option was given last, for options that act in order
    std::vector<std::string> positionals;

    std::optional<std::string> value(const std::string& name) const;
    bool flag(const std::string& name) const { return flags.count(name) != 0; }
};

// Reads "--name VALUE", "--name=VALUE", flags, "-h"/"--help", and "--" before arguments that start
// with a dash. Throws UsageError for an unknown option, a missing value or a wrong count of
// positional arguments (not checked when --help is asked for).
ParsedArgs parseArguments(const CommandSpec& spec, std::span<const std::string> args);

// The --help text of a command.
std::string helpText(const CommandSpec& spec);

// Checked number parsing for option values; the messages name the option.
int parseInt(const std::string& option, const std::string& value, int min, int max);
// "640x480" (an 'X' or '×' also separates).
struct Size {
    int width = 0, height = 0;
};
Size parseSize(const std::string& option, const std::string& value);

}  // namespace gt::cli
