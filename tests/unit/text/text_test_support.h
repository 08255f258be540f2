// Helpers of the message text tests: settings set for one test, refusable
// storage, and the bytes a block writes.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "settings/plugin_settings.h"
#include "text/medoc_index.h"
#include "text/message_block.h"
#include "text/text_storage.h"

// Settings as the store loads them by default; restored after each test.
class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = settings::PluginSettings;
        settings::PluginSettings = settings::SettingsRecord{};
        settings::PluginSettings.MeDocIndex = 1;
        settings::PluginSettings.TrimSubject = 1;
        text::ReleaseMeDocIndex();
    }
    void TearDown() override {
        text::TextStorage = text::HeapTextStorage;
        text::ReleaseMeDocIndex();
        settings::PluginSettings = saved_;
    }

private:
    settings::SettingsRecord saved_;
};

// Storage that grants the first `allowed` requests and refuses the rest.
namespace refusing_storage {
inline int& Allowed() {
    static int allowed = 0;
    return allowed;
}
inline bool Grant() { return Allowed()-- > 0; }
inline void* AllocateZeroed(std::size_t size) {
    return Grant() ? text::HeapTextStorage.allocateZeroed(size) : nullptr;
}
inline void* Resize(void* block, std::size_t size) {
    return Grant() ? text::HeapTextStorage.resize(block, size) : nullptr;
}
inline void Use(int allowed) {
    Allowed() = allowed;
    text::TextStorage = text::TextStorageFunctions{AllocateZeroed, Resize, text::HeapTextStorage.release};
}
}  // namespace refusing_storage

struct WrittenBlock {
    std::string bytes;
    int lineCount;
};

inline WrittenBlock WriteBlock(const std::string& messageText, int linesBefore = 0) {
    std::FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    WrittenBlock block;
    block.lineCount = text::WriteMessageBlock(messageText.c_str(), file, linesBefore);
    std::rewind(file);
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) block.bytes.append(chunk, got);
    std::fclose(file);
    return block;
}

inline std::string IndexText() {
    return text::MeDocIndexBuffer.text != nullptr ? text::MeDocIndexBuffer.text : std::string();
}
