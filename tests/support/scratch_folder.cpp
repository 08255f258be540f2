#include "support/scratch_folder.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

// Larger files are compared by size alone: the tests make them sparse.
constexpr std::uintmax_t kLargeFile = 16 << 20;

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "ctp_test_XXXXXX").string();
    if (mkdtemp(&pattern[0]) == nullptr) throw std::runtime_error("cannot make a scratch folder");
    root_ = pattern;
    fs::create_directory(root_ + "/work");
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string ScratchFolder::Path(const std::string& name) const { return root_ + "/work/" + name; }

std::string ScratchFolder::CapturePath(const std::string& name) const { return root_ + "/" + name; }

std::string ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = Path(name);
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    if (!file.flush()) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string ScratchFolder::Read(const std::string& name) const { return ReadWhole(Path(name)); }

std::string ScratchFolder::ReadCapture(const std::string& name) const { return ReadWhole(CapturePath(name)); }

bool ScratchFolder::Exists(const std::string& name) const {
    struct stat status;
    return lstat(Path(name).c_str(), &status) == 0;
}

std::map<std::string, std::string> ScratchFolder::Snapshot() const {
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(root_ + "/work")) {
        const std::string name = entry.path().filename().string();
        const fs::file_status status = entry.symlink_status();
        if (fs::is_symlink(status)) {
            entries[name] = "<link to " + fs::read_symlink(entry.path()).string() + ">";
        } else if (fs::is_regular_file(status)) {
            const std::uintmax_t size = fs::file_size(entry.path());
            entries[name] = size > kLargeFile ? "<" + std::to_string(size) + " bytes>" : ReadWhole(entry.path().string());
        } else if (fs::is_directory(status)) {
            entries[name] = "<dir>";
        } else if (fs::is_character_file(status)) {
            entries[name] = "<char device>";
        } else {
            entries[name] = "<other>";
        }
    }
    return entries;
}
