// Helpers shared by the PalmDOC tests: byte strings, compressors and files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "palmdoc/text_buffer.h"
#include "support/scratch_folder.h"

using Bytes = std::vector<unsigned char>;

// "61 62 0A" -> {0x61, 0x62, 0x0A}.
Bytes FromHex(const std::string& hex);
std::string ToHex(const Bytes& bytes);
Bytes Repeat(const Bytes& pattern, std::size_t times);
Bytes Concat(const Bytes& a, const Bytes& b);

void Fill(palmdoc::tBuf& buffer, const Bytes& bytes);
Bytes Contents(const palmdoc::tBuf& buffer);

Bytes CompressFast(const Bytes& input);
Bytes CompressReference(const Bytes& input);
// The standard PalmDOC decoding, for round trips.
Bytes Decompress(const Bytes& compressed);

void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ReadFile(const std::string& path);
bool FileExists(const std::string& path);

uint16_t Field16(const Bytes& bytes, std::size_t offset);
uint32_t Field32(const Bytes& bytes, std::size_t offset);
