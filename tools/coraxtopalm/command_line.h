// The command line of a sub-command, described by a table: its operands,
// its options with their help, an example. One parser and one help printer
// serve every command, so that all of them take options the same way:
// "--opt=V" and "--opt V", "--" ends the options, options and operands in
// any order, -h and --help.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

enum class OptionKind {
    kSwitch,  // no value
    kText,    // any value
    kFlag,    // 0 or 1
};

struct OptionSpec {
    const char* name;  // with its dashes: "--title"
    char shortName;    // 'q' for -q, or 0
    OptionKind kind;
    const char* valueName;  // "FILE", "T"; unused for a switch
    std::string help;       // what it does, with its default
};

class ParsedArguments;

struct CommandSpec {
    const char* name;       // "pack"
    const char* operands;   // "TEXT PDB"
    std::size_t minOperands;
    std::size_t maxOperands;
    const char* summary;    // what the command does, one sentence
    const char* details;    // the operands and what else to know; lines end in \n
    std::vector<OptionSpec> options;  // -h and --help are added to every command
    const char* example;
    int (*run)(const ParsedArguments& arguments);
};

class ParsedArguments {
public:
    // False with a message in error (without the program's name) when the
    // arguments do not fit spec; --help stops the parse.
    bool Parse(const CommandSpec& spec, const std::vector<std::string>& arguments, std::string& error);

    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    // The last value given for the option; empty when it was not given.
    const std::string& Value(const std::string& name) const;
    // A flag option's value, or fallback when it was not given.
    int Flag(const std::string& name, int fallback) const;

    std::vector<std::string> operands;

private:
    std::map<std::string, std::string> values_;
};

// The command's help: usage, summary, details, options, example.
std::string CommandHelp(const CommandSpec& spec);

// -q and --quiet, for the commands that report a summary line.
OptionSpec QuietOption();

// Parses, prints the help on -h, reports a usage error with status 2, and
// otherwise runs the command.
int RunCommand(const CommandSpec& spec, const std::vector<std::string>& arguments);
