// Compressed records on their way into the database. They are written a batch
// at a time behind the records before them, and the batch's entries of the
// record list, laid down with provisional offsets, are pointed at them with
// one seek and one write rather than a seek and a write for every record.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "palmdoc/batch_compressor.h"
#include "palmdoc/pdb_file_ops.h"
#include "palmdoc/text_buffer.h"

class RecordBatch {
public:
    // The destination's position is its end, where text record 1 goes.
    RecordBatch(const PdbFileOps& ops, std::FILE* pdb);

    // Adds the next text record, writing the batch when it is full. False
    // when a file operation failed.
    bool Add(const tBuf& record);
    // Writes the records added since the last write.
    bool Write();

private:
    const PdbFileOps& ops_;
    std::FILE* pdb_;
    // The number of the batch's first text record.
    uint32_t firstRecord_ = 1;
    uint32_t count_ = 0;
    // Where each record starts in bytes_.
    uint32_t starts_[kMaxBatchRecords];
    std::vector<unsigned char> bytes_;
};
