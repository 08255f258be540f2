// Inputs that the record compressor must code exactly as the reference one:
// random bytes, few letters, runs, escapes, Shift-JIS, phrases recurring at
// the window's edge. Shared by the native property test and its run in the
// 32-bit Windows build, which takes other paths through the compressor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

using Bytes = std::vector<unsigned char>;

struct CompressorShape {
    const char* name;
    Bytes (*generate)(std::mt19937& random, std::size_t length);
};

extern const CompressorShape kCompressorShapes[];
extern const std::size_t kCompressorShapeCount;

constexpr std::uint32_t kShapeSeed = 20261208;
constexpr std::size_t kFullRecordLength = 4096;
constexpr int kShortRecords = 16;
constexpr int kFullRecords = 8;
constexpr int kRecordsPerShape = 200;

// The length of record i of a shape: 1 to 16 bytes first, then full records,
// then any length.
std::size_t ShapeRecordLength(int i, std::mt19937& random);
