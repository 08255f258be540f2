#include "palmdoc_file.h"

#include <sys/stat.h>

#include <cerrno>

#include "tool_messages.h"

PalmDocFile::~PalmDocFile() {
    if (file_ != nullptr) std::fclose(file_);
}

bool PalmDocFile::Worded(palmdoc::PalmDocRead read, std::string& error) const {
    if (read == palmdoc::PalmDocRead::kDamaged) error = shown_ + " is not a Palm DOC database: " + error;
    return read == palmdoc::PalmDocRead::kDone;
}

bool PalmDocFile::Read(std::uint64_t offset, std::size_t count, std::vector<unsigned char>& bytes,
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
    size_ = static_cast<std::uint64_t>(status.st_size);
    return Worded(reader_.Open(error), error);
}

bool PalmDocFile::ReadRecord(std::size_t k, std::vector<unsigned char>& text, std::string& error) {
    return Worded(reader_.ReadRecord(k, text, error), error);
}

bool PalmDocFile::ReadRecords(const std::function<bool(const std::vector<unsigned char>&)>& take,
                              std::string& error) {
    std::vector<unsigned char> text;
    const std::size_t records = Database().records.size();
    for (std::size_t k = 0; k < records; ++k) {
        ShowProgress("record " + GroupedNumber(k + 1) + " of " + GroupedNumber(records));
        if (!ReadRecord(k, text, error) || !take(text)) return false;
    }
    EndProgress();
    return true;
}
