// The export's text file, its MeDoc index and its bookmarks, checked in the
// finished document: every entry's number must be the line of its message's
// Subject line, and every bookmark the place of that line, once the writer
// has put the index in front of the text and dropped the control bytes.
#include "export/export_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "palmdoc/pdb_writer.h"
#include "resources/strings.h"
#include "settings/plugin_settings.h"
#include "support/database_text.h"
#include "support/file_faults.h"
#include "support/scratch_folder.h"
#include "text/medoc_index.h"

using exporter::ExportText;
using exporter::MessageSource;
using exporter::WriteExportText;
using palmdoc::WritePalmDoc;
using palmdoc::kWritePalmDocSucceeded;
using settings::PluginSettings;
using settings::SettingsRecord;
using settings::kDefaultSettings;
using text::MeDocIndexBuffer;
using text::ReleaseMeDocIndex;

namespace {

namespace fs = std::filesystem;

// One message as the source gives it; none when the host has no text for it.
using Delivered = std::optional<std::string>;

class DeliveredTexts : public MessageSource {
public:
    explicit DeliveredTexts(std::vector<Delivered> texts) : texts_(std::move(texts)) {}
    bool Next(const char*& text) override {
        if (next_ == texts_.size()) return false;
        const Delivered& delivered = texts_[next_++];
        text = delivered ? delivered->c_str() : nullptr;
        return true;
    }
    void Release() override {}

private:
    std::vector<Delivered> texts_;
    std::size_t next_ = 0;
};

// A block of 3 header lines, bodyLines lines and the end marker.
Delivered Message(const std::optional<std::string>& subject, int bodyLines) {
    std::string text = "From: Yamada <yamada@example.jp>\r\n";
    if (subject) text += "Subject: " + *subject + "\r\n";
    text += "\r\n";
    for (int line = 0; line < bodyLines; ++line) text += "body\r\n";
    return text;
}

const Delivered kNoText = std::nullopt;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

class ExportTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = PluginSettings;
        PluginSettings = kDefaultSettings;
    }
    void TearDown() override {
        ReleaseMeDocIndex();
        PluginSettings = saved_;
    }

    std::string Path(const char* name) const { return scratch_.Path(name); }

    palmdoc::Bookmarks bookmarks_;

    // The text file's bytes; the index stays in MeDocIndexBuffer, the
    // bookmarks in bookmarks_.
    std::string WriteText(const std::vector<Delivered>& texts) {
        DeliveredTexts source(texts);
        EXPECT_EQ(WriteExportText(Path("mail.txt").c_str(), source, &bookmarks_), ExportText::Written);
        std::ifstream file(Path("mail.txt"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    // The document as a reader shows it: the index and the text converted
    // and decoded back.
    DatabaseText Document() {
        EXPECT_EQ(WritePalmDoc(Path("mail.txt").c_str(), Path("mail.pdb").c_str(), "mail", MeDocIndexBuffer.text,
                               bookmarks_),
                  kWritePalmDocSucceeded);
        std::ifstream file(Path("mail.pdb"), std::ios::binary);
        DatabaseText database;
        std::string error;
        EXPECT_TRUE(ReadDatabaseText({std::istreambuf_iterator<char>(file), {}}, database, error)) << error;
        return database;
    }

    // In the document: every entry names the line that holds its message's
    // Subject line, and the head counts the entries; every bookmark, named as
    // given, lands at the start of its message's Subject line.
    void ExpectEntriesAndBookmarksAtTheirSubjects(const std::vector<std::string>& subjects,
                                                  const std::vector<std::string>& names) {
        const DatabaseText database = Document();
        const std::string text(database.text.begin(), database.text.end());
        const std::vector<std::string> lines = Lines(text);
        ASSERT_GT(lines.size(), subjects.size());
        EXPECT_EQ(lines[0], "#!Medoc index " + std::to_string(subjects.size()));
        for (std::size_t entry = 0; entry < subjects.size(); ++entry) {
            const std::string& line = lines[entry + 1];
            const std::size_t colon = line.find(':');
            ASSERT_NE(colon, std::string::npos) << line;
            const std::size_t number = std::stoul(line.substr(0, colon));
            ASSERT_LT(number, lines.size()) << line;
            EXPECT_EQ(lines[number], "Subject: " + subjects[entry]) << "entry " << entry;
        }
        ASSERT_EQ(database.bookmarks.size(), names.size());
        for (std::size_t b = 0; b < names.size(); ++b) {
            SCOPED_TRACE(b);
            const std::size_t offset = database.bookmarks[b].offset;
            EXPECT_EQ(database.bookmarks[b].name, names[b]);
            EXPECT_EQ(text[offset - 1], '\n');
            const std::string shown = names[b] == strings::kNoSubject ? "Subject: \n" : "Subject: " + names[b];
            EXPECT_EQ(text.compare(offset, shown.size(), shown), 0) << text.substr(offset, 40);
        }
    }

private:
    SettingsRecord saved_;
    ScratchFolder scratch_;
};

struct NumberingCase {
    const char* name;
    std::vector<Delivered> texts;
    std::string index;                  // byte for byte
    std::vector<std::string> subjects;   // of the entries, in order
    std::vector<std::string> bookmarks;  // one per message written
};

class Numbering : public ExportTextTest, public ::testing::WithParamInterface<NumberingCase> {};

TEST_P(Numbering, EntriesAndBookmarksPointAtTheSubjectLinesOfTheDocument) {
    PluginSettings.Bookmarks = 1;
    WriteText(GetParam().texts);
    ASSERT_NE(MeDocIndexBuffer.text, nullptr);
    EXPECT_EQ(std::string(MeDocIndexBuffer.text), GetParam().index);
    ExpectEntriesAndBookmarksAtTheirSubjects(GetParam().subjects, GetParam().bookmarks);
}

std::string Title(const std::string& title) { return title + std::string(30 - title.size(), ' '); }

// Blocks of 10, 7 and 12 lines.
INSTANTIATE_TEST_SUITE_P(
    WriteExportText, Numbering,
    ::testing::Values(
        NumberingCase{"AllCountedArriveWithSubjects",
                      {Message("one", 6), Message("two", 3), Message("three", 8)},
                      "#!Medoc index 3\n4:" + Title("one") + "\r\n14:" + Title("two") + "\r\n21:" + Title("three") +
                          "\r\n",
                      {"one", "two", "three"},
                      {"one", "two", "three"}},
        NumberingCase{"SecondWithoutSubject",
                      {Message("one", 6), Message(std::nullopt, 3), Message("three", 8)},
                      "#!Medoc index 2\n3:" + Title("one") + "\r\n20:" + Title("three") + "\r\n",
                      {"one", "three"},
                      {"one", strings::kNoSubject, "three"}},
        NumberingCase{"HostGivesNoTextForOne",
                      {Message("one", 6), kNoText, Message("three", 8)},
                      "#!Medoc index 2\n3:" + Title("one") + "\r\n13:" + Title("three") + "\r\n",
                      {"one", "three"},
                      {"one", "three"}},
        NumberingCase{"FirstMissingBothWays",
                      {kNoText, Message(std::nullopt, 0), Message("last", 2)},
                      "#!Medoc index 1\n6:" + Title("last") + "\r\n",
                      {"last"},
                      {strings::kNoSubject, "last"}},
        NumberingCase{"NoTextAtAll", {kNoText, kNoText}, "#!Medoc index 0\n", {}, {}},
        NumberingCase{"JapaneseTitlesCutOnCharacters",
                      {Message("[評価] 結果", 1), Message("a予定表予定表予定表予定表予定表", 1),
                       Message("Re:ソフトの構成と十分な能力の申請について", 1)},
                      "#!Medoc index 3\n4:" + Title("結果") + "\r\n9:" + Title("a予定表予定表予定表予定表予定") +
                          "\r\n14:" + Title("Re:ソフトの構成と十分な能力の") + "\r\n",
                      {"結果", "a予定表予定表予定表予定表予定表", "Re:ソフトの構成と十分な能力の申請について"},
                      // 15 bytes at most, whole characters.
                      {"結果", "a予定表予定表予", "Re:ソフトの構成"}}),
    [](const ::testing::TestParamInfo<NumberingCase>& info) { return info.param.name; });

TEST_F(ExportTextTest, IndexLongerThanARecordStillPointsAtEverySubject) {
    PluginSettings.Bookmarks = 1;
    std::vector<Delivered> texts;
    std::vector<std::string> subjects;
    std::vector<std::string> names;
    for (int message = 0; message < 200; ++message) {
        const std::string subject = "message " + std::to_string(message);
        // Every fifth has no Subject, every seventh no text.
        if (message % 7 == 3) {
            texts.push_back(kNoText);
        } else if (message % 5 == 1) {
            texts.push_back(Message(std::nullopt, message % 4));
            names.push_back(strings::kNoSubject);
        } else {
            texts.push_back(Message(subject, message % 4));
            subjects.push_back(subject);
            names.push_back(subject);
        }
    }
    WriteText(texts);
    ASSERT_NE(MeDocIndexBuffer.text, nullptr);
    ASSERT_GT(std::string(MeDocIndexBuffer.text).size(), 4096u);
    ExpectEntriesAndBookmarksAtTheirSubjects(subjects, names);
}

TEST_F(ExportTextTest, TextFileIsTheSameWithTheIndexOnOrOffAndTheBookmarksOffOrOn) {
    const std::vector<Delivered> texts = {Message("a", 2), Message(std::nullopt, 1), kNoText};
    const std::string withIndex = WriteText(texts);
    EXPECT_TRUE(bookmarks_.empty());
    ReleaseMeDocIndex();
    PluginSettings.MeDocIndex = 0;
    PluginSettings.Bookmarks = 1;
    EXPECT_EQ(WriteText(texts), withIndex);
    EXPECT_EQ(MeDocIndexBuffer.text, nullptr);
    EXPECT_EQ(bookmarks_.size(), 2u);
}

TEST_F(ExportTextTest, NothingOfAnEarlierRunReachesTheNext) {
    WriteText({Message("old", 1)});
    WriteText({Message("new", 1)});
    EXPECT_EQ(std::string(MeDocIndexBuffer.text), "#!Medoc index 1\n2:" + Title("new") + "\r\n");
}

// Every call on the text file, made to fail in turn: the file is gone and the
// failure names the call, the file and the system's reason.
TEST_F(ExportTextTest, NamesTheCallThatFailed) {
    const std::string textPath = Path("mail.txt");
    ExportText result = ExportText::Written;
    platform::FileFailure failure;
    const auto run = [&] {
        DeliveredTexts source({Message("one", 3), Message("two", 2)});
        result = WriteExportText(textPath.c_str(), source, nullptr, &failure);
    };
    const auto check = [&](int nth, const FileFaults& faults) {
        SCOPED_TRACE(nth);
        const platform::FileOperation failed = faults.Failure().operation;
        EXPECT_EQ(result, failed == platform::FileOperation::kOpen ? ExportText::CannotCreate : ExportText::WriteFailed);
        EXPECT_EQ(failure.operation, failed);
        EXPECT_EQ(failure.path, textPath);
        EXPECT_EQ(failure.errorNumber, ENOSPC);
        EXPECT_FALSE(fs::exists(textPath)) << "half a text file is removed";
        EXPECT_EQ(MeDocIndexBuffer.text, nullptr);
        EXPECT_EQ(faults.OpenFiles(), 0u);
    };
    // The open, the writes of two blocks, the flush and the close.
    EXPECT_GE(SweepFileFaults(FileFaults::Kind::kNone, run, check, ENOSPC), 5);
    EXPECT_EQ(result, ExportText::Written);
    EXPECT_EQ(failure.operation, platform::FileOperation::kNone);
}

}  // namespace
