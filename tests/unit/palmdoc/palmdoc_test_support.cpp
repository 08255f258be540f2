#include "palmdoc_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/reference_compressor.h"
#include "palmdoc/compressor.h"
#include "palmdoc/decompressor.h"

using palmdoc::DecompressRecord;
using palmdoc::RecordCompressor;
using palmdoc::tBuf;

namespace fs = std::filesystem;

Bytes FromHex(const std::string& hex) {
    Bytes bytes;
    std::istringstream in(hex);
    std::string token;
    while (in >> token) bytes.push_back(static_cast<unsigned char>(std::stoul(token, nullptr, 16)));
    return bytes;
}

std::string ToHex(const Bytes& bytes) {
    std::string hex;
    char digits[4];
    for (unsigned char b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", b);
        hex += digits;
    }
    if (!hex.empty()) hex.pop_back();
    return hex;
}

Bytes Repeat(const Bytes& pattern, std::size_t times) {
    Bytes bytes;
    for (std::size_t i = 0; i < times; ++i) bytes.insert(bytes.end(), pattern.begin(), pattern.end());
    return bytes;
}

Bytes Concat(const Bytes& a, const Bytes& b) {
    Bytes bytes = a;
    bytes.insert(bytes.end(), b.begin(), b.end());
    return bytes;
}

void Fill(tBuf& buffer, const Bytes& bytes) {
    unsigned char* data = new unsigned char[bytes.size() + 1];
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    buffer.Adopt(data, static_cast<uint32_t>(bytes.size()));
}

Bytes Contents(const tBuf& buffer) { return Bytes(buffer.data, buffer.data + buffer.length); }

namespace {

Bytes Compress(const Bytes& input, uint32_t (*compress)(tBuf&, int&)) {
    tBuf buffer;
    Fill(buffer, input);
    int compressError = 0;
    const uint32_t length = compress(buffer, compressError);
    if (compressError != 0) throw std::runtime_error("compressError " + std::to_string(compressError));
    if (length != buffer.length) throw std::runtime_error("returned length differs from the buffer's");
    return Contents(buffer);
}

}  // namespace

Bytes CompressFast(const Bytes& input) {
    return Compress(input, [](tBuf& record, int& compressError) { return RecordCompressor().Compress(record, compressError); });
}
Bytes CompressReference(const Bytes& input) { return Compress(input, CompressRecordReference); }

Bytes Decompress(const Bytes& compressed) {
    Bytes text;
    std::string error;
    if (!DecompressRecord(compressed.data(), compressed.size(), 1u << 20, text, error)) {
        throw std::runtime_error("decompression failed: " + error);
    }
    return text;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) { return fs::exists(path); }

uint16_t Field16(const Bytes& bytes, std::size_t offset) {
    return static_cast<uint16_t>((bytes.at(offset) << 8) | bytes.at(offset + 1));
}

uint32_t Field32(const Bytes& bytes, std::size_t offset) {
    return (uint32_t{Field16(bytes, offset)} << 16) | Field16(bytes, offset + 2);
}
