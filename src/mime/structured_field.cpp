#include "mime/structured_field.h"

#include "mime/ascii.h"

namespace mime {

namespace {

constexpr char kSeparator = ';';
constexpr char kQuote = '"';
constexpr char kEscape = '\\';

void SkipBlanks(std::string_view text, std::size_t& position) {
    while (position < text.size() && IsWhiteSpace(text[position])) ++position;
}

std::string ReadQuoted(std::string_view text, std::size_t& position) {
    std::string value;
    ++position;  // the opening quote
    while (position < text.size() && text[position] != kQuote) {
        if (text[position] == kEscape && position + 1 < text.size()) ++position;
        value += text[position++];
    }
    if (position < text.size()) ++position;  // the closing quote
    return value;
}

}  // namespace

StructuredField ParseStructuredField(std::string_view text) {
    StructuredField field;
    std::size_t position = text.find(kSeparator);
    field.value = LowerCopy(TrimBlanks(text.substr(0, position)));
    while (position < text.size()) {
        ++position;  // the separator
        SkipBlanks(text, position);
        const std::size_t nameStart = position;
        while (position < text.size() && text[position] != '=' && text[position] != kSeparator) ++position;
        const std::string name = LowerCopy(TrimBlanks(text.substr(nameStart, position - nameStart)));
        if (position >= text.size() || text[position] == kSeparator) continue;
        ++position;  // the "="
        SkipBlanks(text, position);
        std::string value;
        if (position < text.size() && text[position] == kQuote) {
            value = ReadQuoted(text, position);
            while (position < text.size() && text[position] != kSeparator) ++position;
        } else {
            const std::size_t valueStart = position;
            while (position < text.size() && text[position] != kSeparator) ++position;
            value = std::string(TrimBlanks(text.substr(valueStart, position - valueStart)));
        }
        if (!name.empty()) field.parameters.push_back({name, value});
    }
    return field;
}

std::string ParameterValue(const StructuredField& field, std::string_view name) {
    for (const FieldParameter& parameter : field.parameters) {
        if (parameter.name == name) return parameter.value;
    }
    return std::string();
}

}  // namespace mime
