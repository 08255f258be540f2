#include "palmdoc_file.h"

#include <sys/stat.h>

#include <cerrno>

#include "palmdoc/pdb_format.h"
#include "palmdoc/pdb_parts.h"
#include "tool_messages.h"

PalmDocFile::~PalmDocFile() {
    if (file_ != nullptr) std::fclose(file_);
}

bool PalmDocFile::Damaged(const std::string& why, std::string& error) const {
    error = shown_ + " is not a Palm DOC database: " + why;
    return false;
}

std::size_t PalmDocFile::Available(std::uint64_t offset, std::size_t count) const {
    const std::uint64_t left = offset < size_ ? size_ - offset : 0;
    return left < count ? static_cast<std::size_t>(left) : count;
}

bool PalmDocFile::ReadAt(std::uint64_t offset, std::size_t count, std::vector<unsigned char>& bytes,
                         std::string& error) {
    bytes.resize(count);
    errno = 0;
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0 ||
        std::fread(bytes.data(), 1, count, file_) != count) {
        error = CannotRead(shown_, errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}

bool PalmDocFile::Open(const std::string& path, const std::string& shownPath, std::string& error) {
    shown_ = shownPath;
    file_ = std::fopen(path.c_str(), "rb");
    struct stat status;
    if (file_ == nullptr || fstat(fileno(file_), &status) != 0) {
        error = CannotRead(shown_, errno);
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        error = CannotRead(shown_, EISDIR);
        return false;
    }
    size_ = static_cast<std::uint64_t>(status.st_size);
    // Each part is read as far as the file has it, and checked before the
    // next is looked for.
    std::string why;
    std::vector<unsigned char> header;
    if (!ReadAt(0, Available(0, pdb::kHeaderSize), header, error)) return false;
    if (!ParseDatabaseHeader(header.data(), header.size(), database_, why)) return Damaged(why, error);
    std::vector<unsigned char> list;
    if (!ReadAt(pdb::kHeaderSize, Available(pdb::kHeaderSize, pdb::RecordListSize(database_.numberOfRecords)), list,
                error)) {
        return false;
    }
    std::vector<PalmDocRecord> all;
    if (!ParseRecordList(list.data(), list.size(), size_, database_, all, why)) return Damaged(why, error);
    std::vector<unsigned char> docHeader;
    if (!ReadAt(all[0].offset, Available(all[0].offset, pdb::kDocHeaderSize), docHeader, error)) return false;
    if (!ParseDocumentHeader(docHeader.data(), all, database_, why)) return Damaged(why, error);
    return true;
}

bool PalmDocFile::ReadRecord(std::size_t k, std::vector<unsigned char>& text, std::string& error) {
    text.clear();
    if (!ReadAt(database_.records[k].offset, DecodablePrefix(database_, k), stored_, error)) return false;
    std::string why;
    if (!DecodeTextRecord(database_, k, stored_.data(), stored_.size(), text, why)) return Damaged(why, error);
    database_.records[k].textLength = static_cast<uint32_t>(text.size());
    return true;
}
