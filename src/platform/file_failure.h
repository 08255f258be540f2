// The file operation that made a writer give up, for a caller that says why
// (the tool names the file and the system's reason); the plug-in only needs
// to know that it failed.
#pragma once

namespace platform {

enum class FileOperation { kNone, kOpen, kRead, kWrite, kSeek, kTell, kFlush, kClose, kRemove, kRename };

struct FileFailure {
    FileOperation operation = FileOperation::kNone;
    // The path the writer was given for the file concerned.
    const char* path = nullptr;
    // errno just after the call; 0 when the system gave no reason (a read
    // that met the end of the file early).
    int errorNumber = 0;
};

}  // namespace platform
