#include "tool_messages.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

// Progress lines come no faster than this, so that they cost nothing.
constexpr auto kProgressInterval = std::chrono::milliseconds(200);

std::string commandName;
bool quietMode = false;
bool progressShown = false;
std::size_t progressWidth = 0;
std::chrono::steady_clock::time_point lastProgress;

std::string Prefix() { return std::string(kProgramName) + (commandName.empty() ? "" : " " + commandName) + ": "; }

bool ProgressWanted() {
    static const bool terminal = isatty(STDERR_FILENO) == 1;
    return terminal && !quietMode;
}

}  // namespace

void SetMessageCommand(const std::string& name) { commandName = name; }

void SetQuiet(bool quiet) { quietMode = quiet; }

void ReportError(const std::string& message) {
    EndProgress();
    std::fprintf(stderr, "%s%s\n", Prefix().c_str(), message.c_str());
}

void ReportSummary(const std::string& outputArgument, const std::string& message) {
    EndProgress();
    if (!quietMode && outputArgument != "-") std::fprintf(stderr, "%s%s\n", Prefix().c_str(), message.c_str());
}

void ShowProgress(const std::string& message) {
    if (!ProgressWanted()) return;
    const auto now = std::chrono::steady_clock::now();
    if (progressShown && now - lastProgress < kProgressInterval) return;
    lastProgress = now;
    const std::string line = Prefix() + message;
    // Spaces cover the end of a longer line shown before.
    const std::size_t padding = progressWidth > line.size() ? progressWidth - line.size() : 0;
    std::fprintf(stderr, "\r%s%s", line.c_str(), std::string(padding, ' ').c_str());
    std::fflush(stderr);
    progressWidth = line.size();
    progressShown = true;
}

void EndProgress() {
    if (!progressShown) return;
    std::fprintf(stderr, "\r%s\r", std::string(progressWidth, ' ').c_str());
    std::fflush(stderr);
    progressShown = false;
    progressWidth = 0;
}

std::string GroupedNumber(std::uint64_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}

std::string Counted(std::uint64_t number, const char* singular, const char* plural) {
    return GroupedNumber(number) + " " + (number == 1 ? singular : plural);
}

std::string ShownInput(const std::string& path) { return path == "-" ? "the standard input" : path; }

std::string ShownOutput(const std::string& path) { return path == "-" ? "the standard output" : path; }

std::string CannotRead(const std::string& shownPath, int errorNumber) {
    return "cannot read " + shownPath + ": " + std::strerror(errorNumber);
}

std::string CannotWrite(const std::string& shownPath, int errorNumber) {
    return "cannot write " + shownPath + ": " + std::strerror(errorNumber);
}
