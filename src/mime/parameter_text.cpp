#include "mime/parameter_text.h"

#include <map>

#include "mime/ascii.h"
#include "mime/charsets.h"
#include "mime/header_text.h"

namespace mime {

namespace {

constexpr char kExtendedMark = '*';
constexpr char kLanguageDelimiter = '\'';

struct Section {
    std::string value;
    bool extended;  // percent-encoded, the first one with charset'language'
};

std::string PercentDecoded(std::string_view text) {
    std::string bytes;
    for (std::size_t position = 0; position < text.size(); ++position) {
        if (text[position] == '%' && position + 2 < text.size()) {
            const int high = HexDigitValue(text[position + 1]);
            const int low = HexDigitValue(text[position + 2]);
            if (high >= 0 && low >= 0) {
                bytes += static_cast<char>(high * 16 + low);
                position += 2;
                continue;
            }
        }
        bytes += text[position];
    }
    return bytes;
}

// "name*", "name*0", "name*1*": true with the section number (-1 for the
// unsectioned "name*") and whether it is percent-encoded.
bool ReadSectionName(std::string_view parameter, std::string_view name, int& number, bool& extended) {
    if (parameter.size() <= name.size() || parameter.compare(0, name.size(), name) != 0 ||
        parameter[name.size()] != kExtendedMark) {
        return false;
    }
    std::string_view rest = parameter.substr(name.size() + 1);
    if (rest.empty()) {
        number = -1;
        extended = true;
        return true;
    }
    extended = rest.back() == kExtendedMark;
    if (extended) rest.remove_suffix(1);
    if (rest.empty() || rest.size() > 3) return false;
    number = 0;
    for (const char c : rest) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + (c - '0');
    }
    return true;
}

std::string Rfc2231Text(const std::map<int, Section>& sections) {
    std::string bytes;
    std::string charsetName;
    bool first = true;
    for (const auto& [number, section] : sections) {
        std::string_view value = section.value;
        if (first && section.extended) {
            const std::size_t charsetEnd = value.find(kLanguageDelimiter);
            const std::size_t languageEnd =
                charsetEnd == std::string_view::npos ? charsetEnd : value.find(kLanguageDelimiter, charsetEnd + 1);
            if (languageEnd != std::string_view::npos) {
                charsetName = std::string(value.substr(0, charsetEnd));
                value.remove_prefix(languageEnd + 1);
            }
        }
        first = false;
        bytes += section.extended ? PercentDecoded(value) : std::string(value);
    }
    std::string text;
    const Charset charset = charsetName.empty() ? GuessCharset(bytes) : CharsetFromName(charsetName);
    AppendAsCp932(bytes, charset, text);
    return SingleLine(text);
}

}  // namespace

std::string DecodeParameterText(const StructuredField& field, std::string_view name) {
    std::map<int, Section> sections;
    const std::string* plain = nullptr;
    for (const FieldParameter& parameter : field.parameters) {
        int number = 0;
        bool extended = false;
        if (parameter.name == name) {
            plain = &parameter.value;
        } else if (ReadSectionName(parameter.name, name, number, extended)) {
            sections.emplace(number, Section{parameter.value, extended});
        }
    }
    if (!sections.empty()) return Rfc2231Text(sections);
    return plain != nullptr ? DecodeHeaderText(*plain) : std::string();
}

}  // namespace mime
