// The folder for the export's files: "TMP" as the process sees it now, then
// the Windows temporary directory.
#pragma once

#include <algorithm>
#include <string>

#include "conformance/expectations.h"
#include "conformance/test_bed.h"
#include "platform/platform.h"
#include "platform/temporary_folder.h"

namespace conformance::environment {

constexpr char kWindowsTemporaryFolder[] = "C:\\WindowsTemp";

inline void TmpIsTheTemporaryFolder(TestBed& bed, Expectations& expect) {
    const std::string values[] = {"C:\\Work\\Temp", "C:\\Temp\\", "C:\\表示\\ソ", "C:\\" + std::string(1000, 't')};
    bed.SetWindowsTemporaryFolder(kWindowsTemporaryFolder);
    for (const std::string& value : values) {
        bed.SetEnvironment("TMP", value);
        std::string read;
        expect.True(platform::ReadEnvironment("TMP", read), "TMP " + Describe(value) + " is set");
        expect.Equal(read, value, "value of TMP");
        expect.Equal(platform::TemporaryFolder(), value, "temporary folder");
    }
}

inline void WindowsFolderWithoutTmp(TestBed& bed, Expectations& expect) {
    bed.UnsetEnvironment("TMP");
    for (const std::string folder : {"C:\\WindowsTemp", "C:\\表示\\ソ"}) {
        bed.SetWindowsTemporaryFolder(folder);
        expect.Equal(platform::TemporaryDirectory(), folder, "Windows temporary directory");
        expect.Equal(platform::TemporaryFolder(), folder, "temporary folder");
    }
}

// An account named with a character beyond code page 932 has such a TMP:
// its short form, ASCII, reaches the folder; a folder without one is named
// as Windows spells it, for the message that it cannot be used.
inline void TmpOutsideTheCodePage(TestBed& bed, Expectations& expect) {
    for (const bool made : {true, false}) {
        const ForeignFolder folder = bed.FolderOutsideTheCodePage(made);
        const std::string expected = made ? folder.shortPath : folder.spelled;
        const bool ascii = std::all_of(expected.begin(), expected.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        expect.True(made == (!expected.empty() && ascii), Describe(expected) + " is ASCII if made");
        bed.SetEnvironment("TMP", folder.spelled);
        expect.Equal(platform::TemporaryFolder(), expected, "from TMP " + Describe(folder.spelled));
        bed.UnsetEnvironment("TMP");
        bed.SetWindowsTemporaryFolder(folder.spelled);
        expect.Equal(platform::TemporaryFolder(), expected, "from Windows " + Describe(folder.spelled));
    }
}

// An empty TMP would put the files at the root of the current drive.
inline void EmptyTmpCountsAsUnset(TestBed& bed, Expectations& expect) {
    bed.SetEnvironment("TMP", "");
    bed.SetWindowsTemporaryFolder(kWindowsTemporaryFolder);
    std::string read = "kept";
    expect.True(!platform::ReadEnvironment("TMP", read), "an empty TMP reads as unset");
    expect.Equal(read, "kept", "value left alone");
    expect.Equal(platform::TemporaryFolder(), kWindowsTemporaryFolder, "temporary folder");
}

// Windows 98 and Me export the wide calls as stubs that fail: there TMP and
// the Windows folder are read through the ANSI ones. (Only in ASCII here:
// Wine's ANSI call ends a double-byte value at its count of characters,
// which Windows 98 does not.)
inline void TmpWithoutTheWideCalls(TestBed& bed, Expectations& expect) {
    bed.WithoutWideCalls();
    bed.SetEnvironment("TMP", "C:\\Work\\Temp");
    std::string read;
    expect.True(platform::ReadEnvironment("TMP", read), "TMP is set");
    expect.Equal(read, "C:\\Work\\Temp", "value of TMP");
    bed.SetEnvironment("TMP", "");
    expect.True(!platform::ReadEnvironment("TMP", read), "an empty TMP reads as unset");
    bed.SetWindowsTemporaryFolder(kWindowsTemporaryFolder);
    expect.Equal(platform::TemporaryFolder(), kWindowsTemporaryFolder, "Windows temporary folder");
}

inline void VariableNamesMatchInAnyCase(TestBed& bed, Expectations& expect) {
    bed.UnsetEnvironment("TMP");
    bed.SetEnvironment("Tmp", "C:\\Mixed");
    bed.SetWindowsTemporaryFolder(kWindowsTemporaryFolder);
    expect.Equal(platform::TemporaryFolder(), "C:\\Mixed", "temporary folder from Tmp");
}

inline void UnsetVariableLeavesTheValueAlone(TestBed& bed, Expectations& expect) {
    const char name[] = "CORAXTOPALM_CONFORMANCE_UNSET";
    bed.UnsetEnvironment(name);
    std::string read = "kept";
    expect.True(!platform::ReadEnvironment(name, read), "unset");
    expect.Equal(read, "kept", "value left alone");
}

inline constexpr Case kCases[] = {
    {"EnvironmentTmpIsTheTemporaryFolder", TmpIsTheTemporaryFolder},
    {"EnvironmentWindowsFolderWithoutTmp", WindowsFolderWithoutTmp},
    {"EnvironmentTmpOutsideTheCodePage", TmpOutsideTheCodePage},
    {"EnvironmentEmptyTmpCountsAsUnset", EmptyTmpCountsAsUnset},
    {"EnvironmentTmpWithoutTheWideCalls", TmpWithoutTheWideCalls},
    {"EnvironmentVariableNamesMatchInAnyCase", VariableNamesMatchInAnyCase},
    {"EnvironmentUnsetVariableLeavesTheValueAlone", UnsetVariableLeavesTheValueAlone},
};

}  // namespace conformance::environment
