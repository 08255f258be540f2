#include "mime/multipart.h"

#include "mime/ascii.h"

namespace mime {

namespace {

constexpr char kDashes[] = "--";
constexpr std::size_t kDashCount = 2;

enum class Delimiter { kNone, kNext, kClose };

Delimiter ReadDelimiter(std::string_view line, std::string_view boundary) {
    if (line.size() < kDashCount + boundary.size() || line.compare(0, kDashCount, kDashes) != 0 ||
        line.compare(kDashCount, boundary.size(), boundary) != 0) {
        return Delimiter::kNone;
    }
    std::string_view rest = line.substr(kDashCount + boundary.size());
    const bool close = rest.compare(0, kDashCount, kDashes) == 0;
    if (close) rest.remove_prefix(kDashCount);
    if (!TrimBlanks(rest).empty()) return Delimiter::kNone;
    return close ? Delimiter::kClose : Delimiter::kNext;
}

}  // namespace

std::vector<std::string_view> SplitMultipart(std::string_view body, std::string_view boundary) {
    std::vector<std::string_view> parts;
    bool inPart = false;
    std::size_t partStart = 0;
    std::size_t lineStart = 0;
    while (lineStart < body.size()) {
        const std::size_t lineFeed = body.find('\n', lineStart);
        const std::size_t lineEnd = lineFeed == std::string_view::npos ? body.size() : lineFeed;
        const Delimiter delimiter = ReadDelimiter(body.substr(lineStart, lineEnd - lineStart), boundary);
        if (delimiter != Delimiter::kNone) {
            if (inPart) {
                // The line end before a delimiter belongs to the delimiter.
                std::size_t partEnd = lineStart;
                if (partEnd > partStart && body[partEnd - 1] == '\n') --partEnd;
                if (partEnd > partStart && body[partEnd - 1] == '\r') --partEnd;
                parts.push_back(body.substr(partStart, partEnd - partStart));
            }
            if (delimiter == Delimiter::kClose) return parts;
            inPart = true;
            partStart = lineFeed == std::string_view::npos ? body.size() : lineFeed + 1;
        }
        lineStart = lineFeed == std::string_view::npos ? body.size() : lineFeed + 1;
    }
    if (inPart) parts.push_back(body.substr(partStart));
    return parts;
}

}  // namespace mime
