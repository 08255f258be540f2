// The platform conformance cases against the fake; platform-conformance.exe
// runs the same cases against the Win32 implementation under Wine.
#include <gtest/gtest.h>

#include "conformance/expectations.h"
#include "conformance/platform_cases.h"
#include "fake_test_bed.h"

namespace conformance {

// GoogleTest names a failing parameter by this.
void PrintTo(const Case& testCase, std::ostream* out) { *out << testCase.name; }

}  // namespace conformance

namespace {

class PlatformConformanceTest : public ::testing::TestWithParam<conformance::Case> {};

TEST_P(PlatformConformanceTest, FakeAnswersAsWindows) {
    conformance::Expectations expect;
    {
        FakeTestBed bed;
        GetParam().run(bed, expect);
    }
    for (const std::string& failure : expect.Failures()) ADD_FAILURE() << failure;
}

INSTANTIATE_TEST_SUITE_P(Cases, PlatformConformanceTest, ::testing::ValuesIn(conformance::PlatformCases()),
                         [](const ::testing::TestParamInfo<conformance::Case>& info) { return info.param.name; });

}  // namespace
