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

enum class FieldName {
    kNone,
    kSure,   // printable ASCII without the colon
    kLoose,  // the same with blanks inside, as some senders' software writes
};

FieldName ReadFieldName(std::string_view name) {
    if (name.empty()) return FieldName::kNone;
    FieldName kind = FieldName::kSure;
    for (const char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (IsBlank(c)) {
            kind = FieldName::kLoose;
        } else if (byte < kFirstNameByte || byte > kLastNameByte) {
            return FieldName::kNone;
        }
    }
    return kind;
}

bool IsSeparator(std::string_view line) {
    return line.compare(0, sizeof kSeparatorPrefix - 1, kSeparatorPrefix) == 0;
}

// A sender that left out the empty line: the text starts at textStart, none
// of it lost, and the fields read from there on were text.
void EndHeaderAt(MimeEntity& entity, std::string_view text, std::size_t sureFields, std::size_t textStart) {
    entity.fields.resize(sureFields);
    entity.body = text.substr(textStart);
}

}  // namespace

MimeEntity ParseEntity(std::string_view text) {
    MimeEntity entity;
    // Lines that belong to the header only if it goes on past them: white
    // space lines before the first field (what is left of a field cut off)
    // until a field follows; fields whose names hold blanks until a sure
    // field or the empty line follows. unsureFrom is where the first of them
    // starts, and the text, if the header turns out to end before them.
    constexpr std::size_t kNowhere = std::string_view::npos;
    std::size_t unsureFrom = kNowhere;
    std::size_t sureFields = 0;
    std::size_t position = PastByteOrderMark(text, 0);
    while (position < text.size()) {
        const Line line = LineAt(text, position);
        if (line.text.empty()) {
            // Nothing but white space lines before it: they are text.
            if (entity.fields.empty() && unsureFrom != kNowhere) {
                EndHeaderAt(entity, text, sureFields, unsureFrom);
                return entity;
            }
            entity.body = text.substr(line.next);
            return entity;
        }
        if (IsBlank(line.text.front())) {
            if (!entity.fields.empty()) {
                entity.fields.back().value.append(line.text);
            } else if (unsureFrom == kNowhere) {
                unsureFrom = position;
            }
            position = line.next;
            continue;
        }
        const std::size_t colon = line.text.find(':');
        const std::string_view name = NameBeforeColon(line.text, colon);
        const FieldName kind = colon == std::string_view::npos ? FieldName::kNone : ReadFieldName(name);
        if (kind != FieldName::kSure && position == 0 && IsSeparator(line.text)) {
            position = PastByteOrderMark(text, line.next);
            continue;
        }
        if (kind == FieldName::kNone) {
            EndHeaderAt(entity, text, sureFields, unsureFrom == kNowhere ? position : unsureFrom);
            return entity;
        }
        entity.fields.push_back({name, std::string(line.text.substr(colon + 1))});
        if (kind == FieldName::kSure) {
            sureFields = entity.fields.size();
            unsureFrom = kNowhere;
        } else if (unsureFrom == kNowhere) {
            unsureFrom = position;
        }
        position = line.next;
    }
    if (unsureFrom != kNowhere) EndHeaderAt(entity, text, sureFields, unsureFrom);
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
