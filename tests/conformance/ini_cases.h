// Private-profile files as GetPrivateProfileStringA and
// WritePrivateProfileStringA treat them: the settings store's only access.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "conformance/expectations.h"
#include "conformance/test_bed.h"
#include "platform/platform.h"

namespace conformance::ini {

// The buffer the settings store reads into.
constexpr uint32_t kValueSize = 256;
constexpr std::size_t kGuardBytes = 8;
constexpr char kGuardByte = '#';

struct Reading {
    uint32_t count;
    std::string text;
};

// Reads into size bytes and checks what every caller relies on: nothing
// written past them, a terminator inside them, a count that is the text's.
inline Reading Read(Expectations& expect, const std::string& path, const std::string& section,
                    const std::string& key, const std::string& defaultText, uint32_t size = kValueSize) {
    std::vector<char> buffer(size + kGuardBytes, kGuardByte);
    const uint32_t count = platform::ReadPrivateProfileText(section.c_str(), key.c_str(), defaultText.c_str(),
                                                            buffer.data(), size, path.c_str());
    const std::string what = "[" + section + "] " + key;
    expect.Equal(std::string(buffer.end() - kGuardBytes, buffer.end()), std::string(kGuardBytes, kGuardByte),
                 what + ": bytes past the buffer");
    const auto end = std::find(buffer.begin(), buffer.begin() + size, '\0');
    expect.True(end != buffer.begin() + size, what + ": no terminator inside the buffer");
    const std::string text(buffer.begin(), end);
    expect.Equal(count, static_cast<uint32_t>(text.size()), what + ": count against the text copied");
    return {count, text};
}

inline void ValueCutAtSizeMinusOne(TestBed& bed, Expectations& expect) {
    struct Row {
        std::size_t stored;
        uint32_t size;
        std::size_t read;
    };
    const Row rows[] = {{254, kValueSize, 254}, {255, kValueSize, 255}, {256, kValueSize, 255},
                        {300, kValueSize, 255}, {5, 4, 3},              {5, 1, 0}};
    const std::string path = bed.FilePath("cut.ini");
    std::vector<IniLine> lines;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        lines.push_back({"Settings", "Key" + std::to_string(i), std::string(rows[i].stored, 'v')});
    }
    bed.WriteIniFile(path, lines);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Reading reading = Read(expect, path, "Settings", lines[i].key, "default", rows[i].size);
        expect.Equal(reading.text, std::string(rows[i].read, 'v'),
                     std::to_string(rows[i].stored) + " bytes into " + std::to_string(rows[i].size));
    }
}

inline void DefaultWhereTheValueIsMissing(TestBed& bed, Expectations& expect) {
    const std::string path = bed.FilePath("settings.ini");
    bed.WriteIniFile(path, {{"Settings", "DoRead", "0"}});
    expect.Equal(Read(expect, path, "Settings", "MeDocIndex", "7").text, "7", "missing key");
    expect.Equal(Read(expect, path, "UniqID", "DoRead", "7").text, "7", "missing section");
    expect.Equal(Read(expect, bed.FilePath("missing.ini"), "Settings", "DoRead", "7").text, "7", "missing file");
    expect.Equal(Read(expect, path, "Settings", "MeDocIndex", "").text, "", "empty default");
}

inline void DefaultCutAtSizeMinusOne(TestBed& bed, Expectations& expect) {
    const std::string path = bed.FilePath("missing.ini");
    expect.Equal(Read(expect, path, "Settings", "DoRead", std::string(300, 'd')).text, std::string(255, 'd'),
                 "default of 300 bytes");
    expect.Equal(Read(expect, path, "Settings", "DoRead", "12345", 4).text, "123", "default into 4 bytes");
}

inline void DefaultLosesItsTrailingSpaces(TestBed& bed, Expectations& expect) {
    const std::string path = bed.FilePath("missing.ini");
    expect.Equal(Read(expect, path, "Settings", "DoRead", "97  ").text, "97", "trailing spaces");
    expect.Equal(Read(expect, path, "Settings", "DoRead", "9 7").text, "9 7", "inner space");
}

inline void EmptyValueIsReadAsEmpty(TestBed& bed, Expectations& expect) {
    const std::string path = bed.FilePath("settings.ini");
    bed.WriteIniFile(path, {{"Settings", "ConvToDoc", ""}});
    const Reading reading = Read(expect, path, "Settings", "ConvToDoc", "1");
    expect.Equal(reading.text, "", "an empty value is not the default");
}

struct StoredText {
    const char* stored;
    const char* read;
};

// Each text stored under a key of its own in one file, then read back.
template <std::size_t N>
void ExpectReadings(TestBed& bed, Expectations& expect, const std::string& fileName, const StoredText (&rows)[N]) {
    const std::string path = bed.FilePath(fileName);
    std::vector<IniLine> lines;
    for (std::size_t i = 0; i < N; ++i) lines.push_back({"Settings", "Key" + std::to_string(i), rows[i].stored});
    bed.WriteIniFile(path, lines);
    for (std::size_t i = 0; i < N; ++i) {
        expect.Equal(Read(expect, path, "Settings", lines[i].key, "x").text, rows[i].read,
                     "stored " + Describe(rows[i].stored));
    }
}

inline void BlanksAroundTheValueAreDropped(TestBed& bed, Expectations& expect) {
    const StoredText rows[] = {{"  12  ", "12"}, {"\t12\t", "12"}, {"1 2", "1 2"}, {" -3", "-3"}};
    ExpectReadings(bed, expect, "blanks.ini", rows);
}

inline void EnclosingQuotesAreDropped(TestBed& bed, Expectations& expect) {
    const StoredText rows[] = {
        {"\"12\"", "12"}, {"'12'", "12"}, {"\"\"", ""}, {" \"1 2\" ", "1 2"},
        // Only a matching pair around the whole text goes.
        {"\"12", "\"12"}, {"\"12'", "\"12'"}, {"1\"2\"", "1\"2\""},
    };
    ExpectReadings(bed, expect, "quotes.ini", rows);
}

inline void NamesMatchInAnyCase(TestBed& bed, Expectations& expect) {
    const std::string path = bed.FilePath("settings.ini");
    bed.WriteIniFile(path, {{"settings", "convtodoc", "0"}, {"UNIQID", "id", "98"}});
    expect.Equal(Read(expect, path, "Settings", "ConvToDoc", "1").text, "0", "[settings] convtodoc");
    expect.Equal(Read(expect, path, "UniqID", "ID", "97").text, "98", "[UNIQID] id");
}

inline void WriteMakesFileSectionAndKey(TestBed& bed, Expectations& expect) {
    const std::string path = bed.FilePath("new.ini");
    expect.True(platform::WritePrivateProfileText("Settings", "DoRead", "1", path.c_str()), "write succeeds");
    expect.True(platform::WritePrivateProfileText("UniqID", "ID", "98", path.c_str()), "second write succeeds");
    expect.Equal(bed.StoredIniText(path, "Settings", "DoRead"), std::optional<std::string>("1"), "stored DoRead");
    expect.Equal(bed.StoredIniText(path, "UniqID", "ID"), std::optional<std::string>("98"), "stored ID");
    expect.Equal(Read(expect, path, "Settings", "DoRead", "0").text, "1", "read back");
}

inline void WriteReplacesTheValueWhateverTheCase(TestBed& bed, Expectations& expect) {
    const std::string path = bed.FilePath("settings.ini");
    bed.WriteIniFile(path, {{"settings", "convtodoc", "1"}, {"settings", "DoRead", "1"}});
    expect.True(platform::WritePrivateProfileText("Settings", "ConvToDoc", "0", path.c_str()), "write succeeds");
    expect.Equal(bed.StoredIniKeys(path, "settings"), std::vector<std::string>{"DoRead", "convtodoc"},
                 "keys of [settings]");
    expect.Equal(bed.StoredIniText(path, "settings", "convtodoc"), std::optional<std::string>("0"),
                 "the stored key changed");
    expect.Equal(Read(expect, path, "Settings", "ConvToDoc", "1").text, "0", "read back");
}

inline void WriteFailsWhereNoFileCanBeMade(TestBed& bed, Expectations& expect) {
    const std::string path = bed.UnwritablePath("settings.ini");
    expect.True(!platform::WritePrivateProfileText("Settings", "DoRead", "0", path.c_str()), "write fails");
    expect.Equal(Read(expect, path, "Settings", "DoRead", "1").text, "1", "nothing to read back");
}

inline void ShiftJisTextRoundTrips(TestBed& bed, Expectations& expect) {
    // 表 and ソ end in the byte of a backslash.
    const std::string text = "表示ソフト";
    const std::string path = bed.FilePath("japanese.ini");
    expect.True(platform::WritePrivateProfileText("Settings", "Title", text.c_str(), path.c_str()), "write succeeds");
    expect.Equal(bed.StoredIniText(path, "Settings", "Title"), std::optional<std::string>(text), "stored bytes");
    expect.Equal(Read(expect, path, "Settings", "Title", "").text, text, "read back");
}

inline constexpr Case kCases[] = {
    {"IniValueCutAtSizeMinusOne", ValueCutAtSizeMinusOne},
    {"IniDefaultWhereTheValueIsMissing", DefaultWhereTheValueIsMissing},
    {"IniDefaultCutAtSizeMinusOne", DefaultCutAtSizeMinusOne},
    {"IniDefaultLosesItsTrailingSpaces", DefaultLosesItsTrailingSpaces},
    {"IniEmptyValueIsReadAsEmpty", EmptyValueIsReadAsEmpty},
    {"IniBlanksAroundTheValueAreDropped", BlanksAroundTheValueAreDropped},
    {"IniEnclosingQuotesAreDropped", EnclosingQuotesAreDropped},
    {"IniNamesMatchInAnyCase", NamesMatchInAnyCase},
    {"IniWriteMakesFileSectionAndKey", WriteMakesFileSectionAndKey},
    {"IniWriteReplacesTheValueWhateverTheCase", WriteReplacesTheValueWhateverTheCase},
    {"IniWriteFailsWhereNoFileCanBeMade", WriteFailsWhereNoFileCanBeMade},
    {"IniShiftJisTextRoundTrips", ShiftJisTextRoundTrips},
};

}  // namespace conformance::ini
