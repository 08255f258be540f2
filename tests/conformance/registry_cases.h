// The current user's registry: the Palm Desktop folder read as text, and the
// install flag set as a DWORD into HotSync Manager's key, which is opened,
// never created. The keys mirror Palm Desktop's below the cases' own root.
#pragma once

#include <string>

#include "conformance/expectations.h"
#include "conformance/test_bed.h"
#include "platform/platform.h"

namespace conformance::registry {

inline std::string Key(const std::string& below) { return std::string(kRegistryRoot) + "\\" + below; }

inline const std::string kCoreKey = Key("Pilot Desktop\\Core");
inline const std::string kHotSyncKey = Key("Pilot Desktop\\HotSync Manager");
constexpr char kFlagName[] = "Install5";
constexpr uint32_t kFlagRaised = 1;

inline void TextReadAsStored(TestBed& bed, Expectations& expect) {
    struct Row {
        std::string stored;
        RegistryText form;
        std::string read;
    };
    const Row rows[] = {
        {"C:\\Palm", RegistryText::Terminated, "C:\\Palm"},
        {"C:\\Palm", RegistryText::Unterminated, "C:\\Palm"},
        {"%TMP%\\Palm", RegistryText::Expandable, "%TMP%\\Palm"},  // not expanded
        {std::string("C:\\Palm\0junk", 12), RegistryText::Terminated, "C:\\Palm"},
        {"C:\\表示\\Palm", RegistryText::Terminated, "C:\\表示\\Palm"},
        {"", RegistryText::Terminated, ""},
        {"", RegistryText::Unterminated, ""},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const std::string name = "Path" + std::to_string(i);
        bed.SetRegistryText(kCoreKey, name, rows[i].stored, rows[i].form);
        std::string read = "stale";
        expect.True(platform::ReadUserRegistryText(kCoreKey.c_str(), name.c_str(), read), name + " found");
        expect.Equal(read, rows[i].read, name + " stored as " + Describe(rows[i].stored));
    }
}

// A Palm Desktop folder beyond code page 932, as the environment's TMP.
inline void PathOutsideTheCodePage(TestBed& bed, Expectations& expect) {
    for (const bool made : {true, false}) {
        const ForeignFolder folder = bed.FolderOutsideTheCodePage(made);
        bed.SetRegistryText(kCoreKey, "Path", folder.spelled, RegistryText::Terminated);
        std::string read;
        expect.True(platform::ReadUserRegistryText(kCoreKey.c_str(), "Path", read), "found");
        expect.Equal(read, made ? folder.shortPath : folder.spelled, "stored as " + Describe(folder.spelled));
    }
}

inline void MissingTextIsNotFound(TestBed& bed, Expectations& expect) {
    std::string read = "kept";
    expect.True(!platform::ReadUserRegistryText(kCoreKey.c_str(), "Path", read), "no key");
    bed.SetRegistryText(kCoreKey, "Other", "C:\\Palm", RegistryText::Terminated);
    expect.True(!platform::ReadUserRegistryText(kCoreKey.c_str(), "Path", read), "no value");
    expect.True(!platform::ReadUserRegistryText(Key("Pilot Desktop").c_str(), "Other", read), "value of a subkey");
    expect.Equal(read, "kept", "text left alone");
}

inline void TextNamesMatchInAnyCase(TestBed& bed, Expectations& expect) {
    bed.SetRegistryText(kCoreKey, "Path", "C:\\Palm", RegistryText::Terminated);
    std::string read;
    expect.True(platform::ReadUserRegistryText(Key("PILOT DESKTOP\\core").c_str(), "PATH", read),
                "found under other cases");
    expect.Equal(read, "C:\\Palm", "text");
}

inline void MissingHotSyncKeyIsNeverCreated(TestBed& bed, Expectations& expect) {
    expect.True(!platform::SetUserRegistryDword(kHotSyncKey.c_str(), kFlagName, kFlagRaised), "no root: refused");
    expect.True(!bed.RegistryKeyExists(kRegistryRoot), "root not created");
    bed.SetRegistryText(kCoreKey, "Path", "C:\\Palm", RegistryText::Terminated);
    expect.True(!platform::SetUserRegistryDword(kHotSyncKey.c_str(), kFlagName, kFlagRaised), "beside Core: refused");
    expect.True(!bed.RegistryKeyExists(kHotSyncKey), "HotSync Manager not created");
}

inline void FlagWrittenAsDword(TestBed& bed, Expectations& expect) {
    bed.CreateRegistryKey(kHotSyncKey);
    expect.True(platform::SetUserRegistryDword(kHotSyncKey.c_str(), kFlagName, kFlagRaised), "set");
    expect.Equal(bed.RegistryDword(kHotSyncKey, kFlagName), std::optional<uint32_t>(kFlagRaised), "flag");
    expect.True(platform::SetUserRegistryDword(kHotSyncKey.c_str(), "Install-1", 0xFFFFFFFFu), "set another");
    expect.Equal(bed.RegistryDword(kHotSyncKey, "Install-1"), std::optional<uint32_t>(0xFFFFFFFFu), "all 32 bits");
    expect.Equal(bed.RegistryDword(kHotSyncKey, kFlagName), std::optional<uint32_t>(kFlagRaised), "first flag kept");
}

inline void FlagReplacesTheValueWhateverTheCase(TestBed& bed, Expectations& expect) {
    bed.SetRegistryDword(kHotSyncKey, "install5", 0);
    expect.True(platform::SetUserRegistryDword(kHotSyncKey.c_str(), kFlagName, kFlagRaised), "set over install5");
    expect.Equal(bed.RegistryDword(kHotSyncKey, "install5"), std::optional<uint32_t>(kFlagRaised), "flag");
}

// The key exists because of what lies in or below it, with no key created
// on its own.
inline void KeyWithOnlyValuesOrSubkeysTakesTheFlag(TestBed& bed, Expectations& expect) {
    bed.SetRegistryText(kHotSyncKey, "Version", "4.1", RegistryText::Terminated);
    expect.True(platform::SetUserRegistryDword(kHotSyncKey.c_str(), kFlagName, kFlagRaised), "key holding a value");
    bed.SetRegistryDword(kHotSyncKey + "\\Options", "Trace", 0);
    const std::string parent = Key("Pilot Desktop");
    expect.True(platform::SetUserRegistryDword(parent.c_str(), kFlagName, kFlagRaised), "key holding a key");
    expect.Equal(bed.RegistryDword(parent, kFlagName), std::optional<uint32_t>(kFlagRaised), "flag in the parent");
}

inline void KeyNameMatchesInAnyCase(TestBed& bed, Expectations& expect) {
    bed.CreateRegistryKey(kHotSyncKey);
    const std::string shouted = Key("PILOT DESKTOP\\HOTSYNC MANAGER");
    expect.True(platform::SetUserRegistryDword(shouted.c_str(), kFlagName, kFlagRaised), "set in capitals");
    expect.Equal(bed.RegistryDword(kHotSyncKey, kFlagName), std::optional<uint32_t>(kFlagRaised), "flag");
}

inline constexpr Case kCases[] = {
    {"RegistryTextReadAsStored", TextReadAsStored},
    {"RegistryPathOutsideTheCodePage", PathOutsideTheCodePage},
    // Windows 98 and Me, where the ANSI call serves.
    {"RegistryTextWithoutTheWideCalls",
     [](TestBed& bed, Expectations& expect) {
         bed.WithoutWideCalls();
         TextReadAsStored(bed, expect);
     }},
    {"RegistryMissingTextIsNotFound", MissingTextIsNotFound},
    {"RegistryTextNamesMatchInAnyCase", TextNamesMatchInAnyCase},
    {"RegistryMissingHotSyncKeyIsNeverCreated", MissingHotSyncKeyIsNeverCreated},
    {"RegistryFlagWrittenAsDword", FlagWrittenAsDword},
    {"RegistryFlagReplacesTheValueWhateverTheCase", FlagReplacesTheValueWhateverTheCase},
    {"RegistryKeyWithOnlyValuesOrSubkeysTakesTheFlag", KeyWithOnlyValuesOrSubkeysTakesTheFlag},
    {"RegistryKeyNameMatchesInAnyCase", KeyNameMatchesInAnyCase},
};

}  // namespace conformance::registry
