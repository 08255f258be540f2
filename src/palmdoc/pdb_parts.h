// The parts of a Palm DOC database, each checked on its own bytes before any
// offset or count in it is used: the reader of a file held in memory hands
// over pointers into it, the tool's reader of a file on disk the parts it has
// read, so both accept and refuse the same files with the same words. Each
// part is given as many of its bytes as the file has, which may be fewer
// than it needs, and each function returns false with what is wrong in why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "palmdoc/pdb_reader.h"

// The name, type, creator and record count from the database header, which
// must name a Palm DOC with records.
bool ParseDatabaseHeader(const unsigned char* header, std::uint64_t available, PalmDocDatabase& database,
                         std::string& why);

// The offsets and stored lengths of all database.numberOfRecords records from
// the record list (the bytes after the header), each inside the file's
// fileSize bytes, after the list and in ascending order.
bool ParseRecordList(const unsigned char* list, std::uint64_t available, std::uint64_t fileSize,
                     const PalmDocDatabase& database, std::vector<PalmDocRecord>& all, std::string& why);

// The document header's fields from the start of record 0, all[0], and the
// text records' places from all, which must hold them.
bool ParseDocumentHeader(const unsigned char* docHeader, const std::vector<PalmDocRecord>& all,
                         PalmDocDatabase& database, std::string& why);

// The longest part of text record number k (0-based) worth reading: a
// compressed record gives at least one byte of text for every two it stores,
// so one longer than this cannot decode to at most the record size, and its
// decoder fails within this prefix (a code reaches at most 8 bytes ahead);
// an uncompressed record longer than the record size is refused by its
// length alone, so none of it is.
std::size_t DecodablePrefix(const PalmDocDatabase& database, std::size_t k);

// Appends the text of record k (0-based), whose stored bytes or their
// decodable prefix are given, to text.
bool DecodeTextRecord(const PalmDocDatabase& database, std::size_t k, const unsigned char* stored,
                      std::size_t storedLength, std::vector<unsigned char>& text, std::string& why);
