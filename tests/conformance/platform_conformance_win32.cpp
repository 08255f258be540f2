// platform-conformance.exe: every platform conformance case against the
// Win32 implementation, one line per case, then "N passed, M failed".
#include <cstdio>
#include <cstring>
#include <string>

#include "conformance/expectations.h"
#include "conformance/platform_cases.h"
#include "conformance/test_bed_win32.h"

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && std::strcmp(argv[1], "--help") == 0)) {
        std::printf("usage: platform-conformance [FOLDER]\n"
                    "Runs the platform conformance cases against Windows; FOLDER (default: the current\n"
                    "folder) receives a subfolder of files per case. Exit status 0 when all pass.\n");
        return argc == 2 ? 0 : 2;
    }
    const std::string folder = argc == 2 ? argv[1] : ".";
    int passed = 0;
    int failed = 0;
    for (const conformance::Case& testCase : conformance::PlatformCases()) {
        conformance::Expectations expect;
        {
            conformance::Win32TestBed bed(folder + "\\" + testCase.name);
            testCase.run(bed, expect);
        }
        if (expect.Failures().empty()) {
            ++passed;
            std::printf("ok %s\n", testCase.name);
        } else {
            ++failed;
            std::printf("FAIL %s\n", testCase.name);
            for (const std::string& failure : expect.Failures()) std::printf("    %s\n", failure.c_str());
        }
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
