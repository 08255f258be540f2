// The tool's own temporary files: made with names no other file has, and
// removed on every way out, a stop by a signal (Ctrl-C, SIGTERM, SIGHUP, a
// closed pipe) included, so that a stopped run leaves nothing behind.
#pragma once

#include <cstddef>
#include <string>

// Creates an empty file of a new name in folder, starting with prefix;
// mode as a new file of the user's would get (umask applied). False, with
// errno set, when it cannot be made.
bool CreateTemporaryFile(const std::string& folder, const std::string& prefix, std::string& path);

// The folder for temporary files that belong beside no output: $TMPDIR or
// /tmp.
std::string SystemTemporaryFolder();

// Writes all count bytes to descriptor, going on after interruptions by
// signals; false with errno set when a write fails.
bool WriteAll(int descriptor, const char* bytes, std::size_t count);

// Removes a file made by CreateTemporaryFile, if it is still there.
void RemoveTemporaryFile(const std::string& path);

// Forgets a temporary file that has been renamed into place.
void ForgetTemporaryFile(const std::string& path);
