// Realistic mail written by Python's email package (tests/mime/make_corpus.py)
// decodes to the code page 932 text written beside each message.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "mime/mime_message.h"

namespace mime {
namespace {

namespace fs = std::filesystem;

// The twelve kinds of the mailbox and the further structures and charsets.
constexpr std::size_t kCorpusSize = 20;

std::string ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<fs::path> CorpusMessages() {
    std::vector<fs::path> messages;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(CTP_SOURCE_DIR) / "tests/mime/corpus")) {
        if (entry.path().extension() == ".eml") messages.push_back(entry.path());
    }
    return messages;
}

TEST(MimeCorpusTest, EveryMessageDecodesToItsExpectedText) {
    const std::vector<fs::path> messages = CorpusMessages();
    ASSERT_EQ(messages.size(), kCorpusSize);
    for (const fs::path& message : messages) {
        fs::path expectedPath = message;
        expectedPath.replace_extension(".expected");
        std::string decoded;
        ASSERT_TRUE(DecodeMimeMessage(ReadBytes(message).c_str(), decoded));
        EXPECT_EQ(decoded, ReadBytes(expectedPath)) << message.filename();
    }
}

}  // namespace
}  // namespace mime
