// A bounded random fuzz of the decoder: the corpus messages cut, with bytes
// changed and with MIME syntax spliced in, always decode (the sanitizers
// watch) into text whose every line ends in CR LF and that holds no NUL.
// Fixed seed, so a failure repeats.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "mime/mime_message.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kSeed = 2047;
constexpr int kRoundsPerMessage = 300;
// Pieces of the syntax the decoder looks for, so that mutations reach it.
const char* const kSplices[] = {"=?", "?=", "?B?", "?q?", "\x1b$B", "\x1b(B", "\x1b(I", "\r\n\r\n", "\r\n ",
                                "--", "boundary=", "charset=utf-8", "<br>", "<script>", "&#x", "&amp", "\x8e",
                                "\xe3\x81", "%E3", "*0*=", ";", "\"", "\0"};

std::vector<std::string> CorpusTexts() {
    std::vector<std::string> texts;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(CTP_SOURCE_DIR) / "tests/mime/corpus")) {
        if (entry.path().extension() != ".eml") continue;
        std::ifstream file(entry.path(), std::ios::binary);
        texts.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    return texts;
}

std::string Mutated(std::string text, std::mt19937& random) {
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> splice(0, std::size(kSplices) - 1);
    std::uniform_int_distribution<int> count(1, 6);
    for (int mutation = count(random); mutation > 0 && !text.empty(); --mutation) {
        const std::size_t at = std::uniform_int_distribution<std::size_t>(0, text.size() - 1)(random);
        switch (kind(random)) {
            case 0: text[at] = static_cast<char>(byte(random)); break;
            case 1: text.resize(at); break;
            case 2: text.insert(at, kSplices[splice(random)]); break;
            default: text.erase(at, std::uniform_int_distribution<std::size_t>(1, 64)(random)); break;
        }
    }
    return text;
}

bool EveryLineEndsInCrLf(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
    }
    return true;
}

TEST(MimeMutationTest, MutatedMessagesAlwaysDecodeToCleanLines) {
    std::mt19937 random(kSeed);
    for (const std::string& original : CorpusTexts()) {
        for (int round = 0; round < kRoundsPerMessage; ++round) {
            const std::string text = Mutated(original, random);
            std::string decoded;
            ASSERT_TRUE(mime::DecodeMimeMessage(text.c_str(), decoded));
            ASSERT_EQ(decoded.find('\0'), std::string::npos);
            ASSERT_TRUE(EveryLineEndsInCrLf(decoded)) << text;
        }
    }
}

}  // namespace
