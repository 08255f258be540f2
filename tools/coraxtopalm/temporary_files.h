// The tool's own temporary files: made with names no other file has, and
// removed on every way out, a stop by a signal (Ctrl-C, SIGTERM, SIGHUP, a
// closed pipe) included, so that a stopped run leaves nothing behind.
#pragma once

#include <cstdint>
#include <string>

// Creates an empty file of a new name in folder, starting with prefix;
// mode as a new file of the user's would get (umask applied). False, with
// errno set, when it cannot be made.
bool CreateTemporaryFile(const std::string& folder, const std::string& prefix, std::string& path);

// The folder for temporary files that belong beside no output: $TMPDIR or
// /tmp.
std::string SystemTemporaryFolder();

enum class CopyResult { kCopied, kReadFailed, kWriteFailed };

// Copies the rest of source onto target: the standard input into its copy,
// a finished temporary file onto a stream. Goes on after interruptions by
// signals; errno is set when a read or a write fails. bytes, when given,
// grows by what was copied.
CopyResult CopyAll(int source, int target, std::uint64_t* bytes = nullptr);

// Removes a file made by CreateTemporaryFile, if it is still there.
void RemoveTemporaryFile(const std::string& path);

// Forgets a temporary file that has been renamed into place.
void ForgetTemporaryFile(const std::string& path);
