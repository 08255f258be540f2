#include "command_line.h"

#include <cstdio>

#include "commands.h"
#include "tool_messages.h"

namespace {

constexpr char kHelpOption[] = "--help";
constexpr char kHelpShort = 'h';
// The help's layout: options in one column, their help wrapped beside it.
constexpr std::size_t kOptionColumn = 22;
constexpr std::size_t kLineWidth = 79;

const OptionSpec kHelpSpec = {kHelpOption, kHelpShort, OptionKind::kSwitch, nullptr, "show this help and exit"};

const OptionSpec* FindLong(const CommandSpec& spec, const std::string& name) {
    if (name == kHelpOption) return &kHelpSpec;
    for (const OptionSpec& option : spec.options) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

const OptionSpec* FindShort(const CommandSpec& spec, char letter) {
    if (letter == kHelpShort) return &kHelpSpec;
    for (const OptionSpec& option : spec.options) {
        if (option.shortName != 0 && option.shortName == letter) return &option;
    }
    return nullptr;
}

// Takes one option whose value, if it has one, is attached or follows.
bool TakeOption(const OptionSpec& option, const std::string& shownName, bool hasAttached,
                const std::string& attached, const std::vector<std::string>& arguments, std::size_t& index,
                std::map<std::string, std::string>& values, std::string& error) {
    if (option.kind == OptionKind::kSwitch) {
        if (hasAttached) {
            error = "option " + shownName + " takes no value";
            return false;
        }
        values[option.name] = "";
        return true;
    }
    std::string value = attached;
    if (!hasAttached) {
        if (index + 1 >= arguments.size()) {
            error = "option " + shownName + " needs a value (" + option.valueName + ")";
            return false;
        }
        value = arguments[++index];
    }
    if (option.kind == OptionKind::kFlag && value != "0" && value != "1") {
        error = "option " + shownName + "=" + value + ": the value must be 0 or 1";
        return false;
    }
    values[option.name] = value;
    return true;
}

std::string OptionLabel(const OptionSpec& option) {
    std::string label = "  ";
    if (option.shortName != 0) label += std::string("-") + option.shortName + ", ";
    label += option.name;
    if (option.kind == OptionKind::kFlag) label += "=0|1";
    else if (option.kind == OptionKind::kText) label += std::string("=") + option.valueName;
    return label;
}

// The option's label and its help, wrapped into the help column.
std::string OptionLines(const OptionSpec& option) {
    std::string lines = OptionLabel(option);
    std::size_t column = lines.size();
    if (column + 1 >= kOptionColumn) {
        lines += "\n";
        column = 0;
    }
    lines += std::string(kOptionColumn - column, ' ');
    column = kOptionColumn;
    std::size_t at = 0;
    bool first = true;
    while (at < option.help.size()) {
        std::size_t end = option.help.find(' ', at);
        if (end == std::string::npos) end = option.help.size();
        const std::string word = option.help.substr(at, end - at);
        if (!first && column + 1 + word.size() > kLineWidth) {
            lines += "\n" + std::string(kOptionColumn, ' ');
            column = kOptionColumn;
            first = true;
        }
        if (!first) {
            lines += ' ';
            ++column;
        }
        lines += word;
        column += word.size();
        first = false;
        at = end + 1;
    }
    return lines + "\n";
}

}  // namespace

OptionSpec QuietOption() {
    return {"--quiet", 'q', OptionKind::kSwitch, nullptr, "no summary line and no progress on standard error"};
}

const std::string& ParsedArguments::Value(const std::string& name) const {
    static const std::string none;
    const auto found = values_.find(name);
    return found == values_.end() ? none : found->second;
}

int ParsedArguments::Flag(const std::string& name, int fallback) const {
    return Has(name) ? (Value(name) == "1" ? 1 : 0) : fallback;
}

bool ParseArguments(const CommandSpec& spec, const std::vector<std::string>& arguments, ParsedArguments& parsed,
                    std::string& error) {
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
            parsed.operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument.compare(0, 2, "--") == 0) {
            const std::size_t equals = argument.find('=');
            const std::string name = argument.substr(0, equals);
            const OptionSpec* option = FindLong(spec, name);
            if (option == nullptr) {
                error = "unknown option " + name;
                return false;
            }
            const bool hasAttached = equals != std::string::npos;
            if (!TakeOption(*option, name, hasAttached, hasAttached ? argument.substr(equals + 1) : "", arguments,
                            index, parsed.values_, error)) {
                return false;
            }
        } else {
            // Short options, bundled as in -qh; one that takes a value ends
            // the bundle and takes the rest ("-tName") or the next argument.
            for (std::size_t letter = 1; letter < argument.size(); ++letter) {
                const OptionSpec* option = FindShort(spec, argument[letter]);
                const std::string shownName = std::string("-") + argument[letter];
                if (option == nullptr) {
                    error = "unknown option " + shownName;
                    return false;
                }
                const bool hasAttached = option->kind != OptionKind::kSwitch && letter + 1 < argument.size();
                if (!TakeOption(*option, shownName, hasAttached, hasAttached ? argument.substr(letter + 1) : "",
                                arguments, index, parsed.values_, error)) {
                    return false;
                }
                if (option->kind != OptionKind::kSwitch) break;
            }
        }
        if (parsed.Has(kHelpOption)) {
            parsed.helpAsked = true;
            return true;
        }
    }
    if (parsed.operands.size() < spec.minOperands) {
        error = "expected " + std::string(spec.operands) + ", got " +
                (parsed.operands.empty() ? std::string("none") : std::to_string(parsed.operands.size()));
        return false;
    }
    if (parsed.operands.size() > spec.maxOperands) {
        error = "too many operands from " + parsed.operands[spec.maxOperands] + " on";
        return false;
    }
    return true;
}

std::string UsageLine(const CommandSpec& spec) {
    return std::string("usage: ") + kProgramName + " " + spec.name + " [OPTIONS] " + spec.operands;
}

std::string CommandHelp(const CommandSpec& spec) {
    std::string help = UsageLine(spec) + "\n\n" + spec.summary + "\n\n" + spec.details + "\nOptions:\n";
    for (const OptionSpec& option : spec.options) help += OptionLines(option);
    help += OptionLines(kHelpSpec);
    help += std::string("\nExample:\n") + spec.example;
    return help;
}

int RunCommand(const CommandSpec& spec, const std::vector<std::string>& arguments) {
    SetMessageCommand(spec.name);
    ParsedArguments parsed;
    std::string error;
    if (!ParseArguments(spec, arguments, parsed, error)) {
        ReportError(error);
        std::fprintf(stderr, "%s\nTry '%s %s --help'.\n", UsageLine(spec).c_str(), kProgramName, spec.name);
        return kExitUsage;
    }
    if (parsed.helpAsked) {
        std::fputs(CommandHelp(spec).c_str(), stdout);
        return kExitOk;
    }
    SetQuiet(parsed.Has("--quiet"));
    return spec.run(parsed);
}
