#include "database_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "palmdoc/control_filter.h"
#include "palmdoc/pdb_format.h"
#include "palmdoc/pdb_writer.h"
#include "palmdoc/text_buffer.h"
#include "parallel_compressor.h"
#include "tool_messages.h"
#include "watched_files.h"

namespace {

constexpr int kPercent = 100;

std::string Shown(const DatabaseJob& job, const std::string& path) {
    if (path == job.pdbPath) return job.pdbShown;
    if (path == job.textPath) return job.textShown;
    return path;
}

// The writer failed with every file operation fine: the cause it has is a
// record that the filter leaves empty, which a record entry cannot hold.
// The records are cut again here, the index first, then the text file, to
// name the first such record.
std::string RecordFailure(const DatabaseJob& job) {
    std::FILE* file = std::fopen(job.textPath.c_str(), "rb");
    if (file == nullptr) return CannotRead(job.textShown, errno);
    tBuf record;
    std::uint64_t indexUsed = 0;
    for (std::uint32_t number = 1;; ++number) {
        record.Rearm(pdb::kTextRecordSize);
        while (record.length < pdb::kTextRecordSize && indexUsed < job.index.size()) {
            record.data[record.length++] = static_cast<unsigned char>(job.index[indexUsed++]);
        }
        record.length += static_cast<std::uint32_t>(
            std::fread(record.data + record.length, 1, pdb::kTextRecordSize - record.length, file));
        if (record.length == 0) break;
        if (FilterControlChars(record) == 0) {
            std::fclose(file);
            const std::uint64_t first = std::uint64_t{number - 1} * pdb::kTextRecordSize;
            return job.textShown + ": record " + std::to_string(number) + " of the text (bytes " +
                   GroupedNumber(first) + " to " + GroupedNumber(first + pdb::kTextRecordSize - 1) +
                   ") holds nothing but control characters, and a Palm DOC record cannot be empty";
        }
    }
    std::fclose(file);
    return "cannot make the database " + job.pdbShown + " from " + job.textShown;
}

}  // namespace

std::uint32_t TextRecordCount(std::uint64_t textLength) {
    return static_cast<std::uint32_t>((textLength + pdb::kTextRecordSize - 1) / pdb::kTextRecordSize);
}

bool FitsPalmDoc(std::uint64_t textLength, const std::string& shownText, std::string& error) {
    if (textLength <= pdb::kMaxTextLength) return true;
    error = "the text of " + shownText + " is " + GroupedNumber(textLength) + " bytes and a Palm DOC holds at most " +
            GroupedNumber(pdb::kMaxTextLength) + " (" + std::to_string(pdb::kMaxTextRecords) + " records of " +
            std::to_string(pdb::kTextRecordSize) + ")";
    return false;
}

bool WriteDatabaseFile(const DatabaseJob& job, std::string& error) {
    if (!FitsPalmDoc(job.textSize + job.index.size(), job.textShown, error)) return false;
    WatchedFiles files;
    const std::uint64_t total = job.textSize;
    files.OnRead([total](std::uint64_t done) {
        if (total > 0) ShowProgress("compressing: " + std::to_string(done * kPercent / total) + "%");
    });
    ParallelBatchCompressor compressor(CompressionThreads());
    const int result = WritePalmDocUsing(StandardPdbFileOps(), job.textPath.c_str(), job.pdbPath.c_str(),
                                         job.title.c_str(), job.hasIndex ? job.index.c_str() : nullptr, &compressor);
    if (result == kWritePalmDocSucceeded) return true;
    const FileFailure& failure = files.Failure();
    if (failure.happened) {
        const std::string shown = Shown(job, failure.path);
        error = failure.writing ? CannotWrite(shown, failure.errorNumber) : CannotRead(shown, failure.errorNumber);
    } else if (failure.shortRead) {
        error = Shown(job, failure.path) + " changed while it was read";
    } else {
        error = RecordFailure(job);
    }
    return false;
}
