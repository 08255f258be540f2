#include "mime/mime_message.h"

#include <exception>
#include <string_view>

#include "mime/mime_entity.h"
#include "mime/readable_body.h"

namespace mime {

namespace {

constexpr char kLineEnd[] = "\r\n";

// Every line end (CR LF, LF or CR alone) as CR LF; NUL bytes go, since the
// text goes on as a NUL-terminated string.
void AppendWithCrLf(std::string_view text, std::string& out) {
    for (std::size_t position = 0; position < text.size(); ++position) {
        const char c = text[position];
        if (c == '\r') {
            if (position + 1 < text.size() && text[position + 1] == '\n') ++position;
            out += kLineEnd;
        } else if (c == '\n') {
            out += kLineEnd;
        } else if (c != '\0') {
            out += c;
        }
    }
}

}  // namespace

bool DecodeMimeMessage(const char* messageText, std::string& decoded) noexcept {
    try {
        decoded.clear();
        const MimeEntity message = ParseEntity(messageText);
        const std::string headerLines = ReadableHeaderLines(message);
        // The export finds the body after the first empty line, which
        // must be this one: without header lines a single line end would
        // make the body's own first empty line close the header.
        if (headerLines.empty()) decoded += kLineEnd;
        AppendWithCrLf(headerLines, decoded);
        decoded += kLineEnd;
        AppendWithCrLf(ReadableBody(message), decoded);
        return true;
    } catch (const std::exception&) {
        decoded.clear();
        decoded.shrink_to_fit();
        return false;
    }
}

}  // namespace mime
