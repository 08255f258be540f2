#pragma once

#include <cstdint>

namespace host {

// Outcome of the current export command, read by the result report.
constexpr int32_t kNoFailure = 0;
constexpr int32_t kConversionFailed = 100;
constexpr int32_t kTextFileFailed = 200;

extern int32_t FailureCode;

}  // namespace host
