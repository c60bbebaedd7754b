// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/arguments.h"

#include <charconv>
#include <sstream>

namespace gt::cli {

std::optional<std::string> ParsedArgs::value(const std::string& name) const {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

namespace {

const OptionSpec* findOption(const CommandSpec& spec, const std::string& name) {
    for (const OptionSpec& o : spec.options)
        if (o.name == name) return &o;
    return nullptr;
}

}  // namespace

ParsedArgs parseArguments(const CommandSpec& spec, std::span<const std::string> args) {
    ParsedArgs parsed;
    bool onlyPositionals = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (onlyPositionals || a.size() < 2 || a[0] != '-') {
            parsed.positionals.push_back(a);
            continue;
        }
        if (a == "--") {
            onlyPositionals = true;
            continue;
        }
        if (a == "-h" || a == "--help") {
            parsed.help = true;
            continue;
        }
        if (a.rfind("--", 0) != 0) throw UsageError("unknown option " + a);
        const std::size_t equals = a.find('=');
        const std::string name = a.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const OptionSpec* option = findOption(spec, name);
        if (!option) throw UsageError("unknown option --" + name);
        parsed.positions[name] = i;
        if (option->valueName.empty()) {
            if (equals != std::string::npos) throw UsageError("--" + name + " takes no value");
            parsed.flags[name] = true;
        } else if (equals != std::string::npos) {
            parsed.values[name] = a.substr(equals + 1);
        } else {
            if (i + 1 >= args.size()) throw UsageError("--" + name + " needs a value (" + option->valueName + ")");
            parsed.values[name] = args[++i];
        }
    }
    if (parsed.help) return parsed;
    const int count = static_cast<int>(parsed.positionals.size());
    if (count < spec.minPositionals) throw UsageError("missing arguments: expected " + spec.usage);
    if (spec.maxPositionals >= 0 && count > spec.maxPositionals)
        throw UsageError("too many arguments (" + parsed.positionals[std::size_t(spec.maxPositionals)] + "): expected " + spec.usage);
    return parsed;
}

std::string helpText(const CommandSpec& spec) {
    std::ostringstream out;
    out << "Usage: graphitello-cli " << spec.name << (spec.usage.empty() ? "" : " ") << spec.usage << "\n\n"
        << spec.summary << "\n";
    std::vector<std::pair<std::string, std::string>> lines;
    for (const OptionSpec& o : spec.options)
        lines.emplace_back("--" + o.name + (o.valueName.empty() ? "" : " " + o.valueName), o.help);
    lines.emplace_back("-h, --help", "show this help");
    // Options with long values get their help on the next line, so the column stays narrow.
    constexpr std::size_t kColumn = 24;
    std::size_t width = 0;
    for (const auto& l : lines)
        if (l.first.size() <= kColumn) width = std::max(width, l.first.size());
    out << "\nOptions:\n";
    for (const auto& l : lines) {
        out << "  " << l.first;
        if (l.first.size() > width) out << "\n  " << std::string(width, ' ');
        else out << std::string(width - l.first.size(), ' ');
        out << "  " << l.second << "\n";
    }
    if (!spec.details.empty()) out << "\n" << spec.details;
    return out.str();
}

int parseInt(const std::string& option, const std::string& value, int min, int max) {
    int v = 0;
    const char* end = value.data() + value.size();
    const auto [ptr, ec] = std::from_chars(value.data() + (value.size() > 1 && value[0] == '+' ? 1 : 0), end, v);
    if (value.empty() || ec != std::errc() || ptr != end)
        throw UsageError("--" + option + " " + value + ": not a whole number");
    if (v < min || v > max)
        throw UsageError("--" + option + " " + value + ": out of range " + std::to_string(min) + ".." + std::to_string(max));
    return v;
}

Size parseSize(const std::string& option, const std::string& value) {
    std::size_t cut = value.find_first_of("xX");
    std::size_t skip = 1;
    if (cut == std::string::npos) {
        cut = value.find("\xC3\x97");  // ×
        skip = 2;
    }
    const std::string expected = "--" + option + " " + value + ": expected WIDTHxHEIGHT, such as 640x480";
    if (cut == std::string::npos) throw UsageError(expected);
    Size s;
    try {
        s.width = parseInt(option, value.substr(0, cut), 0, 1 << 30);
        s.height = parseInt(option, value.substr(cut + skip), 0, 1 << 30);
    } catch (const UsageError&) {
        throw UsageError(expected);
    }
    return s;
}

}  // namespace gt::cli
