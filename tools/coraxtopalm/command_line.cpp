#include "command_line.h"

#include <algorithm>
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

// The option that matches, -h and --help among them.
template <typename Matches>
const OptionSpec* FindOption(const CommandSpec& spec, Matches matches) {
    if (matches(kHelpSpec)) return &kHelpSpec;
    for (const OptionSpec& option : spec.options) {
        if (matches(option)) return &option;
    }
    return nullptr;
}

// Takes one option whose value, if it has one, is attached (null when not)
// or follows.
bool TakeOption(const OptionSpec* option, const std::string& shownName, const char* attached,
                const std::vector<std::string>& arguments, std::size_t& index,
                std::map<std::string, std::string>& values, std::string& error) {
    if (option == nullptr) {
        error = "unknown option " + shownName;
        return false;
    }
    if (option->kind == OptionKind::kSwitch) {
        if (attached != nullptr) {
            error = "option " + shownName + " takes no value";
            return false;
        }
        values[option->name] = "";
        return true;
    }
    if (attached == nullptr && index + 1 >= arguments.size()) {
        error = "option " + shownName + " needs a value (" + option->valueName + ")";
        return false;
    }
    const std::string value = attached != nullptr ? attached : arguments[++index];
    if (option->kind == OptionKind::kFlag && value != "0" && value != "1") {
        error = "option " + shownName + "=" + value + ": the value must be 0 or 1";
        return false;
    }
    values[option->name] = value;
    return true;
}

// The option's label and its help, wrapped into the help column.
std::string OptionLines(const OptionSpec& option) {
    std::string lines = "  ";
    if (option.shortName != 0) lines += std::string("-") + option.shortName + ", ";
    lines += option.name;
    if (option.kind == OptionKind::kFlag) lines += "=0|1";
    else if (option.kind == OptionKind::kText) lines += std::string("=") + option.valueName;
    // A label that fills the column puts its help on the next line.
    lines += lines.size() + 1 >= kOptionColumn ? "\n" + std::string(kOptionColumn, ' ')
                                               : std::string(kOptionColumn - lines.size(), ' ');
    std::size_t column = kOptionColumn;
    for (std::size_t at = 0; at < option.help.size();) {
        const std::size_t end = std::min(option.help.find(' ', at), option.help.size());
        const std::size_t length = end - at;
        if (column > kOptionColumn && column + 1 + length > kLineWidth) {
            lines += "\n" + std::string(kOptionColumn, ' ');
            column = kOptionColumn;
        } else if (column > kOptionColumn) {
            lines += ' ';
            ++column;
        }
        lines.append(option.help, at, length);
        column += length;
        at = end + 1;
    }
    return lines + "\n";
}

std::string UsageLine(const CommandSpec& spec) {
    return std::string("usage: ") + kProgramName + " " + spec.name + " [OPTIONS] " + spec.operands;
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

bool ParsedArguments::Parse(const CommandSpec& spec, const std::vector<std::string>& arguments,
                            std::string& error) {
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size() && !Has(kHelpOption); ++index) {
        const std::string& argument = arguments[index];
        if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
            operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument.compare(0, 2, "--") == 0) {
            const std::size_t equals = argument.find('=');
            const std::string name = argument.substr(0, equals);
            const OptionSpec* option = FindOption(spec, [&](const OptionSpec& o) { return name == o.name; });
            const char* attached = equals != std::string::npos ? argument.c_str() + equals + 1 : nullptr;
            if (!TakeOption(option, name, attached, arguments, index, values_, error)) return false;
        } else {
            // Short options, bundled as in -qh; one that takes a value ends
            // the bundle and takes the rest ("-tName") or the next argument.
            for (std::size_t letter = 1; letter < argument.size(); ++letter) {
                const OptionSpec* option =
                    FindOption(spec, [&](const OptionSpec& o) { return o.shortName == argument[letter]; });
                const bool takesValue = option != nullptr && option->kind != OptionKind::kSwitch;
                const char* attached = takesValue && letter + 1 < argument.size() ? argument.c_str() + letter + 1
                                                                                  : nullptr;
                if (!TakeOption(option, std::string("-") + argument[letter], attached, arguments, index, values_,
                                error)) {
                    return false;
                }
                if (takesValue) break;
            }
        }
    }
    // The help asked for stops the parse: what follows it does not matter.
    if (Has(kHelpOption)) return true;
    if (operands.size() < spec.minOperands) {
        error = "expected " + std::string(spec.operands) + ", got " +
                (operands.empty() ? std::string("none") : std::to_string(operands.size()));
        return false;
    }
    if (operands.size() > spec.maxOperands) {
        error = "too many operands from " + operands[spec.maxOperands] + " on";
        return false;
    }
    return true;
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
    if (!parsed.Parse(spec, arguments, error)) {
        ReportError(error);
        std::fprintf(stderr, "%s\nTry '%s %s --help'.\n", UsageLine(spec).c_str(), kProgramName, spec.name);
        return kExitUsage;
    }
    if (parsed.Has(kHelpOption)) {
        std::fputs(CommandHelp(spec).c_str(), stdout);
        return kExitOk;
    }
    SetQuiet(parsed.Has("--quiet"));
    return spec.run(parsed);
}
