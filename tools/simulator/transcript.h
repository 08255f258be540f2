// The simulator's transcript: one UTF-8 JSON object per line, flushed at
// once so that a crash still leaves what happened before it.
#pragma once

#include <cstdint>
#include <string>

// Builds one JSON object; texts from the plug-in are code page 932.
class JsonLine {
public:
    explicit JsonLine(const char* event);
    JsonLine& Text(const char* key, const std::string& cp932Text);
    JsonLine& Utf8(const char* key, const std::string& utf8Text);
    JsonLine& Number(const char* key, int64_t value);
    JsonLine& Bool(const char* key, bool value);
    // A value that is already JSON (an array or object).
    JsonLine& Raw(const char* key, const std::string& json);
    std::string Finish() const { return body_ + "}"; }

private:
    void Key(const char* key);
    std::string body_;
};

std::string JsonQuote(const std::string& utf8Text);
std::string Cp932ToUtf8(const std::string& text);
std::string Hex(const unsigned char* bytes, size_t count);

bool OpenTranscript(const std::string& path);  // empty path: standard output
void Log(const JsonLine& line);
void CloseTranscript();
