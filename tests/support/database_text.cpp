#include "support/database_text.h"

#include <utility>

#include "palmdoc/byte_source.h"

bool ReadDatabaseText(const std::vector<unsigned char>& file, DatabaseText& read, std::string& error) {
    palmdoc::MemoryBytes source(file.data(), file.size());
    palmdoc::PalmDocReader reader(source);
    if (reader.Open(error) != palmdoc::PalmDocRead::kDone) return false;
    std::vector<unsigned char> text;
    std::vector<unsigned char> record;
    for (std::size_t k = 0; k < reader.Database().records.size(); ++k) {
        if (reader.ReadRecord(k, record, error) != palmdoc::PalmDocRead::kDone) return false;
        text.insert(text.end(), record.begin(), record.end());
    }
    static_cast<palmdoc::PalmDocDatabase&>(read) = reader.Database();
    read.text = std::move(text);
    return true;
}
