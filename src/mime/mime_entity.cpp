#include "mime/mime_entity.h"

#include "mime/ascii.h"

namespace mime {

namespace {

struct Line {
    std::string_view text;  // without its line end
    std::size_t next;       // start of the line after it
};

Line LineAt(std::string_view text, std::size_t start) {
    const std::size_t lineFeed = text.find('\n', start);
    const std::size_t end = lineFeed == std::string_view::npos ? text.size() : lineFeed;
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return {line, lineFeed == std::string_view::npos ? text.size() : lineFeed + 1};
}

constexpr unsigned char kFirstNameByte = 0x21;
constexpr unsigned char kLastNameByte = 0x7E;
// An mbox separator that a host may leave at the head of a message.
constexpr char kSeparatorPrefix[] = "From ";
// Some mailers save a message, or write a part, as UTF-8 text with its
// byte-order mark in front of the header.
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

std::size_t PastByteOrderMark(std::string_view text, std::size_t position) {
    return text.compare(position, kUtf8ByteOrderMark.size(), kUtf8ByteOrderMark) == 0
               ? position + kUtf8ByteOrderMark.size()
               : position;
}

// The text before a colon without the blanks a sender may leave before it.
std::string_view NameBeforeColon(std::string_view line, std::size_t colon) {
    std::string_view name = line.substr(0, colon);
    while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
    return name;
}

// Printable ASCII without the colon.
bool IsFieldName(std::string_view name) {
    if (name.empty()) return false;
    for (const char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < kFirstNameByte || byte > kLastNameByte) return false;
    }
    return true;
}

}  // namespace

MimeEntity ParseEntity(std::string_view text) {
    MimeEntity entity;
    std::size_t position = PastByteOrderMark(text, 0);
    while (position < text.size()) {
        const Line line = LineAt(text, position);
        if (line.text.empty()) {
            entity.body = text.substr(line.next);
            return entity;
        }
        if (IsBlank(line.text.front()) && !entity.fields.empty()) {
            entity.fields.back().value.append(line.text);
            position = line.next;
            continue;
        }
        const std::size_t colon = line.text.find(':');
        const std::string_view name = NameBeforeColon(line.text, colon);
        if (colon == std::string_view::npos || !IsFieldName(name)) {
            if (position == 0 && line.text.compare(0, sizeof kSeparatorPrefix - 1, kSeparatorPrefix) == 0) {
                position = PastByteOrderMark(text, line.next);
                continue;
            }
            // A sender that left out the empty line: the text starts here,
            // and none of it is lost.
            entity.body = text.substr(position);
            return entity;
        }
        entity.fields.push_back({name, std::string(line.text.substr(colon + 1))});
        position = line.next;
    }
    return entity;
}

const std::string* FindField(const MimeEntity& entity, std::string_view name) {
    const std::string* found = nullptr;
    for (const HeaderField& field : entity.fields) {
        if (EqualsIgnoringCase(field.name, name)) found = &field.value;
    }
    return found;
}

}  // namespace mime
