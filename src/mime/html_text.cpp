#include "mime/html_text.h"

#include <cstdint>
#include <iterator>

#include "mime/ascii.h"
#include "mime/cp932_text.h"

namespace mime {

namespace {

constexpr char kCommentStart[] = "<!--";
constexpr char kCommentEnd[] = "-->";
constexpr char kCharsetLabel[] = "charset=";
// A meta charset stands in the head, near the start.
constexpr std::size_t kCharsetSearchLength = 2048;
constexpr char32_t kNoBreakSpace = 0xA0;
constexpr char32_t kSoftHyphen = 0xAD;
constexpr char32_t kLastCodePoint = 0x10FFFF;
// Longest entity name read, "&thetasym;" and the like.
constexpr std::size_t kLongestEntity = 10;

// Elements whose content is not text for the reader.
const char* const kHiddenElements[] = {"script", "style", "title"};
// Elements that stand on lines of their own.
const char* const kBlockElements[] = {
    "p",   "div",   "li",      "ul",      "ol",      "dl",     "dt",     "dd",  "h1",      "h2",
    "h3",  "h4",    "h5",      "h6",      "tr",      "table",  "blockquote", "pre", "hr", "section",
    "article", "header", "footer", "address", "center", "form", "body", "html", "nav", "aside",
};

struct NamedEntity {
    const char* name;
    char32_t character;
};

const NamedEntity kNamedEntities[] = {
    {"amp", '&'},       {"lt", '<'},         {"gt", '>'},         {"quot", '"'},       {"apos", '\''},
    {"nbsp", kNoBreakSpace}, {"copy", 0xA9}, {"reg", 0xAE},       {"trade", 0x2122},   {"hellip", 0x2026},
    {"mdash", 0x2014},  {"ndash", 0x2013},   {"laquo", 0xAB},     {"raquo", 0xBB},     {"yen", 0xA5},
    {"ldquo", 0x201C},  {"rdquo", 0x201D},   {"lsquo", 0x2018},   {"rsquo", 0x2019},   {"bull", 0x2022},
    {"middot", 0xB7},   {"times", 0xD7},     {"divide", 0xF7},    {"deg", 0xB0},       {"plusmn", 0xB1},
    {"larr", 0x2190},   {"rarr", 0x2192},    {"uarr", 0x2191},    {"darr", 0x2193},    {"sect", 0xA7},
    {"para", 0xB6},     {"cent", 0xA2},      {"pound", 0xA3},     {"euro", 0x20AC},    {"emsp", 0x3000},
    {"ensp", ' '},      {"thinsp", ' '},     {"shy", kSoftHyphen}, {"zwnj", 0x200C},   {"zwj", 0x200D},
};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool IsOneOf(std::string_view name, const char* const* names, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (name == names[i]) return true;
    }
    return false;
}

// The text being built: lines, blank runs collapsed, empty lines counted.
class TextLines {
public:
    void AppendByte(char c) {
        if (pendingSpace_ && lineOpen_) text_ += ' ';
        pendingSpace_ = false;
        text_ += c;
        lineOpen_ = true;
    }
    // A space that does not collapse (&nbsp;): it keeps a line alive.
    void AppendHardSpace() {
        AppendByte(' ');
    }
    void AppendCharacter(char32_t character) {
        if (pendingSpace_ && lineOpen_) text_ += ' ';
        pendingSpace_ = false;
        AppendUnicodeAsCp932(character, text_);
        lineOpen_ = true;
    }
    void Blank() { pendingSpace_ = true; }
    // br: a line end even on an empty line, but never a second empty line.
    void BreakLine() {
        if (text_.empty() && !lineOpen_) return;
        if (!lineOpen_ && EndsWithEmptyLine()) return;
        EndLine();
    }
    // A block's edge: the line ends unless it is already ended.
    void EndBlock() {
        if (lineOpen_) EndLine();
    }
    std::string Finish() {
        EndBlock();
        while (!text_.empty() && text_.back() == '\n' && EndsWithEmptyLine()) text_.pop_back();
        const std::size_t firstText = text_.find_first_not_of('\n');
        text_.erase(0, firstText == std::string::npos ? text_.size() : firstText);
        return std::move(text_);
    }

private:
    void EndLine() {
        while (!text_.empty() && text_.back() == ' ') text_.pop_back();
        text_ += '\n';
        lineOpen_ = false;
        pendingSpace_ = false;
    }
    bool EndsWithEmptyLine() const {
        return text_.size() == 1 ? text_[0] == '\n' : text_.size() >= 2 && text_.compare(text_.size() - 2, 2, "\n\n") == 0;
    }

    std::string text_;
    bool lineOpen_ = false;
    bool pendingSpace_ = false;
};

// Past the '>' that closes the tag opened at html[start]; quoted attribute
// values may hold '>'.
std::size_t TagEnd(std::string_view html, std::size_t start) {
    char quote = 0;
    for (std::size_t position = start + 1; position < html.size(); ++position) {
        const char c = html[position];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            if (html[position - 1] == '=' || IsBlank(html[position - 1])) quote = c;
        } else if (c == '>') {
            return position + 1;
        }
    }
    return html.size();
}

// The entity at html[start] ('&'): its character and length, or 0.
std::size_t ReadEntity(std::string_view html, std::size_t start, char32_t& character) {
    // Looked for only as far as the longest name reaches, so that text full
    // of '&' stays linear.
    const std::size_t semicolon = html.substr(0, start + kLongestEntity + 2).find(';', start);
    if (semicolon == std::string_view::npos) return 0;
    const std::string_view body = html.substr(start + 1, semicolon - start - 1);
    if (body.size() >= 2 && body[0] == '#') {
        const bool hexadecimal = LowerAscii(body[1]) == 'x';
        const std::string_view digits = body.substr(hexadecimal ? 2 : 1);
        if (digits.empty()) return 0;
        uint32_t value = 0;
        for (const char c : digits) {
            const int digit = hexadecimal ? HexDigitValue(c) : (IsAsciiDigit(c) ? c - '0' : -1);
            if (digit < 0) return 0;
            value = value * (hexadecimal ? 16 : 10) + static_cast<uint32_t>(digit);
            if (value > kLastCodePoint) return 0;
        }
        if (value == 0) return 0;
        character = value;
        return semicolon - start + 1;
    }
    for (const NamedEntity& entity : kNamedEntities) {
        if (body == entity.name) {
            character = entity.character;
            return semicolon - start + 1;
        }
    }
    return 0;
}

// The element name of the tag at html[start] ('<'), lower case, and
// whether it is a closing tag.
std::string TagName(std::string_view html, std::size_t start, bool& closing) {
    std::size_t position = start + 1;
    closing = position < html.size() && html[position] == '/';
    if (closing) ++position;
    std::string name;
    while (position < html.size() && (IsAsciiLetter(html[position]) || IsAsciiDigit(html[position]))) {
        name += LowerAscii(html[position++]);
    }
    return name;
}

bool StartsTag(std::string_view html, std::size_t position) {
    if (position + 1 >= html.size()) return false;
    const char next = html[position + 1];
    return IsAsciiLetter(next) || next == '/' || next == '!' || next == '?';
}

// Past the closing tag of a hidden element, or the end when it has none.
std::size_t HiddenElementEnd(std::string_view html, std::size_t from, const std::string& name) {
    const std::size_t closing = FindIgnoringCase(html, "</" + name, from);
    return closing == std::string_view::npos ? html.size() : TagEnd(html, closing);
}

}  // namespace

std::string HtmlToText(std::string_view html) {
    TextLines lines;
    int preformatted = 0;
    std::size_t position = 0;
    while (position < html.size()) {
        const char c = html[position];
        if (c == '<' && html.compare(position, sizeof kCommentStart - 1, kCommentStart) == 0) {
            const std::size_t end = html.find(kCommentEnd, position + sizeof kCommentStart - 1);
            position = end == std::string_view::npos ? html.size() : end + sizeof kCommentEnd - 1;
            continue;
        }
        if (c == '<' && StartsTag(html, position)) {
            bool closing = false;
            const std::string name = TagName(html, position, closing);
            position = TagEnd(html, position);
            if (!closing && IsOneOf(name, kHiddenElements, std::size(kHiddenElements))) {
                position = HiddenElementEnd(html, position, name);
            } else if (name == "br") {
                lines.BreakLine();
            } else if (IsOneOf(name, kBlockElements, std::size(kBlockElements))) {
                lines.EndBlock();
                if (name == "pre") preformatted += closing ? (preformatted > 0 ? -1 : 0) : 1;
            } else if (name == "td" || name == "th") {
                lines.Blank();
            }
            continue;
        }
        if (c == '&') {
            char32_t character = 0;
            const std::size_t length = ReadEntity(html, position, character);
            if (length != 0) {
                if (character == kNoBreakSpace) {
                    lines.AppendHardSpace();
                } else if (character != kSoftHyphen) {
                    lines.AppendCharacter(character);
                }
                position += length;
                continue;
            }
        }
        if (IsWhiteSpace(c) || c == '\f') {
            if (preformatted == 0) {
                lines.Blank();
            } else if (c == '\n') {
                lines.BreakLine();
            } else if (c != '\r') {
                lines.AppendHardSpace();
            }
        } else {
            lines.AppendByte(c);
        }
        ++position;
    }
    return lines.Finish();
}

std::string DeclaredHtmlCharset(std::string_view html) {
    const std::string_view head = html.substr(0, kCharsetSearchLength);
    const std::size_t label = FindIgnoringCase(head, kCharsetLabel);
    if (label == std::string_view::npos) return std::string();
    std::size_t position = label + sizeof kCharsetLabel - 1;
    while (position < head.size() && (head[position] == '"' || head[position] == '\'')) ++position;
    std::string name;
    while (position < head.size() && (IsAsciiLetter(head[position]) || IsAsciiDigit(head[position]) ||
                                      head[position] == '-' || head[position] == '_' || head[position] == '.' ||
                                      head[position] == ':')) {
        name += head[position++];
    }
    return name;
}

}  // namespace mime
