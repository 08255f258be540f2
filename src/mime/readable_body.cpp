#include "mime/readable_body.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "mime/ascii.h"
#include "mime/attachment_note.h"
#include "mime/charsets.h"
#include "mime/header_text.h"
#include "mime/html_text.h"
#include "mime/multipart.h"
#include "mime/parameter_text.h"
#include "mime/structured_field.h"
#include "mime/transfer_encoding.h"

namespace mime {

namespace {

constexpr int kDeepestNesting = 16;
constexpr char kPlainText[] = "text/plain";
constexpr char kHtml[] = "text/html";
constexpr char kForwardedMessage[] = "message/rfc822";
constexpr char kMultipartPrefix[] = "multipart/";
constexpr char kAlternative[] = "multipart/alternative";
constexpr char kDigest[] = "multipart/digest";
constexpr char kAttachment[] = "attachment";
const char* const kShownHeaders[] = {"Subject", "From", "Date"};

struct Content {
    StructuredField type;
    StructuredField disposition;
    TransferEncoding encoding = TransferEncoding::kIdentity;
};

Content ReadContent(const MimeEntity& entity, std::string_view defaultType) {
    Content content;
    const std::string* type = FindField(entity, "Content-Type");
    if (type != nullptr) content.type = ParseStructuredField(*type);
    // A type without a subtype is no type.
    if (content.type.value.find('/') == std::string::npos) content.type.value = std::string(defaultType);
    const std::string* disposition = FindField(entity, "Content-Disposition");
    if (disposition != nullptr) content.disposition = ParseStructuredField(*disposition);
    const std::string* encoding = FindField(entity, "Content-Transfer-Encoding");
    if (encoding != nullptr) content.encoding = TransferEncodingFromName(*encoding);
    return content;
}

bool IsMultipart(const Content& content) { return StartsWithIgnoringCase(content.type.value, kMultipartPrefix); }

// The piece after one empty line, its own trailing line ends trimmed.
void AppendPiece(std::string_view piece, std::string& out) {
    while (!piece.empty() && (piece.back() == '\n' || piece.back() == '\r')) piece.remove_suffix(1);
    if (piece.empty()) return;
    if (!out.empty()) out += '\n';
    out.append(piece);
    out += '\n';
}

std::string ReadableText(const MimeEntity& entity, const Content& content) {
    const std::string bytes = DecodeTransfer(entity.body, content.encoding);
    const bool html = content.type.value == kHtml;
    std::string charsetName = ParameterValue(content.type, "charset");
    if (charsetName.empty() && html) charsetName = DeclaredHtmlCharset(bytes);
    const Charset charset = charsetName.empty() ? GuessCharset(bytes) : CharsetFromName(charsetName);
    std::string text;
    AppendAsCp932(bytes, charset, text);
    return html ? HtmlToText(text) : text;
}

std::string NoteFor(const MimeEntity& entity, const Content& content) {
    std::string name = DecodeParameterText(content.disposition, "filename");
    if (name.empty()) name = DecodeParameterText(content.type, "name");
    if (name.empty()) name = content.type.value;
    return AttachmentNote(name, DecodeTransfer(entity.body, content.encoding).size());
}

void AppendEntity(const MimeEntity& entity, std::string_view defaultType, int depth, std::string& out);

// Whether a part holds anything to read: senders cut off mid-message or
// close an alternative with an empty part, which must not stand in for the
// text before it.
bool HasText(const MimeEntity& part, const Content& content) {
    return !TrimBlanks(DecodeTransfer(part.body, content.encoding)).empty();
}

bool IsShownAsText(const Content& content, std::string_view type) {
    return content.type.value == type && content.disposition.value != kAttachment;
}

// The parts of a multipart body; none when it has no delimiter lines.
std::vector<MimeEntity> PartsOf(const MimeEntity& entity, const Content& content) {
    const std::string boundary = ParameterValue(content.type, "boundary");
    std::vector<MimeEntity> parts;
    if (boundary.empty()) return parts;
    for (const std::string_view text : SplitMultipart(entity.body, boundary)) parts.push_back(ParseEntity(text));
    return parts;
}

std::string_view PartType(const Content& multipart) {
    return multipart.type.value == kDigest ? kForwardedMessage : kPlainText;
}

// How well a branch of an alternative reads as plain text, by the best of
// what it holds, however deeply: plain text, else HTML, else anything else.
enum class Readability { kNothing, kOther, kHtml, kPlain };

Readability ReadabilityOf(const MimeEntity& entity, std::string_view defaultType, int depth) {
    const Content content = ReadContent(entity, defaultType);
    if (!HasText(entity, content)) return Readability::kNothing;
    if (IsShownAsText(content, kPlainText)) return Readability::kPlain;
    if (IsShownAsText(content, kHtml)) return Readability::kHtml;
    Readability best = Readability::kOther;
    if (!IsMultipart(content) || depth > kDeepestNesting) return best;
    for (const MimeEntity& part : PartsOf(entity, content)) {
        best = std::max(best, ReadabilityOf(part, PartType(content), depth + 1));
        if (best == Readability::kPlain) break;
    }
    return best;
}

// The branch of an alternative that reads best, the last of equals, as the
// sender's most faithful; the first when none has text.
const MimeEntity* ChooseAlternative(const std::vector<MimeEntity>& parts, int depth) {
    const MimeEntity* chosen = parts.empty() ? nullptr : &parts.front();
    Readability best = Readability::kNothing;
    for (const MimeEntity& part : parts) {
        const Readability readability = ReadabilityOf(part, kPlainText, depth);
        if (readability != Readability::kNothing && readability >= best) {
            best = readability;
            chosen = &part;
        }
    }
    return chosen;
}

void AppendMultipart(const MimeEntity& entity, const Content& content, int depth, std::string& out) {
    const std::vector<MimeEntity> parts = PartsOf(entity, content);
    if (parts.empty()) {
        std::string text;
        AppendAsCp932(entity.body, GuessCharset(entity.body), text);
        AppendPiece(text, out);
        return;
    }
    if (content.type.value == kAlternative) {
        const MimeEntity* chosen = ChooseAlternative(parts, depth + 1);
        if (chosen != nullptr) AppendEntity(*chosen, PartType(content), depth + 1, out);
        return;
    }
    for (const MimeEntity& part : parts) AppendEntity(part, PartType(content), depth + 1, out);
}

void AppendForwarded(const MimeEntity& entity, const Content& content, int depth, std::string& out) {
    const std::string text = DecodeTransfer(entity.body, content.encoding);
    const MimeEntity forwarded = ParseEntity(text);
    AppendPiece(ReadableHeaderLines(forwarded), out);
    AppendEntity(forwarded, kPlainText, depth + 1, out);
}

void AppendEntity(const MimeEntity& entity, std::string_view defaultType, int depth, std::string& out) {
    const Content content = ReadContent(entity, defaultType);
    if (depth > kDeepestNesting) {
        AppendPiece(NoteFor(entity, content), out);
    } else if (IsMultipart(content)) {
        AppendMultipart(entity, content, depth, out);
    } else if (content.type.value == kForwardedMessage) {
        AppendForwarded(entity, content, depth, out);
    } else if (IsShownAsText(content, kPlainText) || IsShownAsText(content, kHtml)) {
        AppendPiece(ReadableText(entity, content), out);
    } else {
        AppendPiece(NoteFor(entity, content), out);
    }
}

}  // namespace

std::string ReadableBody(const MimeEntity& message) {
    std::string body;
    AppendEntity(message, kPlainText, 0, body);
    return body;
}

std::string ReadableHeaderLines(const MimeEntity& entity) {
    std::string lines;
    for (const char* name : kShownHeaders) {
        const std::string* value = FindField(entity, name);
        if (value == nullptr) continue;
        lines += name;
        lines += ": ";
        lines += DecodeHeaderText(*value);
        lines += '\n';
    }
    return lines;
}

}  // namespace mime
