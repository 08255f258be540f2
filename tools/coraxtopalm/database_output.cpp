#include "database_output.h"

#include <cerrno>

#include "palmdoc/pdb_format.h"
#include "tool_messages.h"

namespace {

constexpr int kPercent = 100;

std::string Shown(const DatabaseJob& job, const char* path) {
    if (path == nullptr) return std::string();
    if (path == job.pdbPath) return job.pdbShown;
    if (path == job.textPath) return job.textShown;
    return path;
}

void ShowCompressing(std::uint64_t textDone, std::uint64_t textLength) {
    ShowProgress("compressing: " + std::to_string(textDone * kPercent / textLength) + "%");
}

}  // namespace

std::string WriteFailureMessage(const DatabaseJob& job, const palmdoc::WriteFailure& failure) {
    switch (failure.cause) {
        case palmdoc::WriteCause::kFile: {
            // A failed call that set no errno still failed.
            const int reason = failure.file.errorNumber != 0 ? failure.file.errorNumber : EIO;
            const std::string shown = Shown(job, failure.file.path);
            return failure.file.path == job.pdbPath ? CannotWrite(shown, reason) : CannotRead(shown, reason);
        }
        case palmdoc::WriteCause::kTextChanged:
            return Shown(job, failure.file.path) + " changed while it was read";
        case palmdoc::WriteCause::kTooLong:
            return "the text of " + job.textShown + " is " + GroupedNumber(failure.textLength) +
                   " bytes and a Palm DOC holds at most " + GroupedNumber(palmdoc::pdb::kMaxTextLength) + " (" +
                   std::to_string(palmdoc::pdb::kMaxTextRecords) + " records of " +
                   std::to_string(palmdoc::pdb::kTextRecordSize) + ")";
        case palmdoc::WriteCause::kEmptyRecord: {
            const std::uint64_t first = std::uint64_t{failure.record - 1} * palmdoc::pdb::kTextRecordSize;
            return job.textShown + ": record " + std::to_string(failure.record) + " of the text (bytes " +
                   GroupedNumber(first) + " to " + GroupedNumber(first + palmdoc::pdb::kTextRecordSize - 1) +
                   ") holds nothing but control characters, and a Palm DOC record cannot be empty";
        }
        case palmdoc::WriteCause::kNone:
        case palmdoc::WriteCause::kCompression:
            break;
    }
    return "cannot make the database " + job.pdbShown + " from " + job.textShown;
}

bool WriteDatabaseFile(const DatabaseJob& job, std::string& error) {
    palmdoc::WriteFailure failure;
    // An empty index puts nothing before the text, as no index does.
    if (palmdoc::WritePalmDoc(job.textPath.c_str(), job.pdbPath.c_str(), job.title.c_str(), job.index.c_str(),
                              job.bookmarks, &failure, ShowCompressing) == palmdoc::kWritePalmDocSucceeded) {
        return true;
    }
    error = WriteFailureMessage(job, failure);
    return false;
}
