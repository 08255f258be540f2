#include "transcript.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

FILE* transcript = nullptr;

}  // namespace

std::string Cp932ToUtf8(const std::string& text) {
    if (text.empty()) return text;
    constexpr UINT kShiftJis = 932;
    const int wideLength = MultiByteToWideChar(kShiftJis, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<wchar_t> wide(wideLength);
    MultiByteToWideChar(kShiftJis, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &utf8[0], length, nullptr, nullptr);
    return utf8;
}

std::string JsonQuote(const std::string& utf8Text) {
    std::string out = "\"";
    for (unsigned char c : utf8Text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string Hex(const unsigned char* bytes, size_t count) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0x0F];
    }
    return out;
}

JsonLine::JsonLine(const char* event) : body_("{\"event\":" + JsonQuote(event)) {}

void JsonLine::Key(const char* key) { body_ += "," + JsonQuote(key) + ":"; }

JsonLine& JsonLine::Text(const char* key, const std::string& cp932Text) { return Utf8(key, Cp932ToUtf8(cp932Text)); }

JsonLine& JsonLine::Utf8(const char* key, const std::string& utf8Text) {
    Key(key);
    body_ += JsonQuote(utf8Text);
    return *this;
}

JsonLine& JsonLine::Number(const char* key, int64_t value) {
    Key(key);
    body_ += std::to_string(value);
    return *this;
}

JsonLine& JsonLine::Bool(const char* key, bool value) {
    Key(key);
    body_ += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::Raw(const char* key, const std::string& json) {
    Key(key);
    body_ += json;
    return *this;
}

bool OpenTranscript(const std::string& path) {
    transcript = path.empty() ? stdout : std::fopen(path.c_str(), "wb");
    return transcript != nullptr;
}

void Log(const JsonLine& line) {
    if (transcript == nullptr) return;
    std::fputs(line.Finish().c_str(), transcript);
    std::fputc('\n', transcript);
    std::fflush(transcript);
}

void CloseTranscript() {
    if (transcript != nullptr && transcript != stdout) std::fclose(transcript);
    transcript = nullptr;
}
