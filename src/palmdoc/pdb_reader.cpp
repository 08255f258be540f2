#include "palmdoc/pdb_reader.h"

#include "palmdoc/pdb_format.h"
#include "palmdoc/pdb_parts.h"

bool ReadPalmDocDatabase(const unsigned char* bytes, std::size_t size, PalmDocDatabase& database,
                         std::string& error) {
    std::vector<PalmDocRecord> all;
    if (!ParseDatabaseHeader(bytes, size, database, error) ||
        !ParseRecordList(bytes + pdb::kHeaderSize, size - pdb::kHeaderSize, size, database, all, error) ||
        !ParseDocumentHeader(bytes + all[0].offset, all, database, error)) {
        return false;
    }
    database.text.clear();
    for (std::size_t k = 0; k < database.records.size(); ++k) {
        const std::size_t before = database.text.size();
        if (!DecodeTextRecord(database, k, bytes + database.records[k].offset, DecodablePrefix(database, k),
                              database.text, error)) {
            return false;
        }
        database.records[k].textLength = static_cast<uint32_t>(database.text.size() - before);
    }
    return true;
}
