// The text of one conversion, the index text followed by the text file's
// bytes, handed out a record at a time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "palmdoc/text_buffer.h"

namespace palmdoc {

class TextStream {
public:
    // fileLength is the text file's measured size; the file is read no
    // further than that.
    TextStream(std::FILE* file, const char* index, uint32_t indexLength, uint32_t fileLength);

    // Re-arms record and fills it with the stream's next bytes, a full record
    // while that many are left. A record in which the index ends goes on with
    // the file's first bytes. False when the file yields fewer bytes than it
    // measured: it has changed under us, and the counts already written would
    // be wrong, or when the read failed.
    bool FillRecord(tBuf& record);
    // After a failed FillRecord: errno of the read, 0 when the file only
    // ended early.
    int ReadError() const { return readError_; }

private:
    bool ReadChunk();

    std::FILE* file_;
    const char* index_;
    uint32_t indexLeft_;
    uint32_t fileLeft_;
    // The file is read many records at a time, not a record per call.
    std::vector<unsigned char> chunk_;
    uint32_t chunkAt_ = 0;
    uint32_t chunkEnd_ = 0;
    int readError_ = 0;
};

}  // namespace palmdoc
