// What the tool says on standard error: one line per error, naming the
// command and the file; a summary line on success unless -q; a progress
// line while a long job runs, only when standard error is a terminal.
#pragma once

#include <cstdint>
#include <string>

constexpr char kProgramName[] = "coraxtopalm";

// The command that the messages name; set once the command is known.
void SetMessageCommand(const std::string& name);
// -q: no summary and no progress.
void SetQuiet(bool quiet);

// "coraxtopalm CMD: message".
void ReportError(const std::string& message);
// The success line, unless quiet or the output is the standard output ("-"):
// there the data speaks for itself, and a line on standard error would only
// clutter a pipeline.
void ReportSummary(const std::string& outputArgument, const std::string& message);

// Replaces the progress line with message at most a few times a second;
// nothing unless standard error is a terminal and not quiet.
void ShowProgress(const std::string& message);
// Clears the progress line, if one is shown.
void EndProgress();

// 268427264 -> "268,427,264".
std::string GroupedNumber(std::uint64_t number);

// "1 record", "2,000 records".
std::string Counted(std::uint64_t number, const char* singular, const char* plural);

// How a path is named in messages: "-" is the standard input or output.
std::string ShownInput(const std::string& path);
std::string ShownOutput(const std::string& path);

// "cannot read X: reason" and "cannot write X: reason".
std::string CannotRead(const std::string& shownPath, int errorNumber);
std::string CannotWrite(const std::string& shownPath, int errorNumber);
