#include "text/message_block.h"

#include <cstring>

#include "settings/plugin_settings.h"
#include "text/medoc_index.h"
#include "text/message_headers.h"

namespace {

constexpr char kHeaderEnd[] = "\r\n\r\n";
constexpr char kEndOfMessage[] = "--EOM--\n";
// The Subject, From and Date lines.
constexpr int kHeaderLineCount = 3;
constexpr int kEndOfMessageLineCount = 1;

const char* ValueOrEmpty(const HeaderValue* value) { return value != nullptr ? value->text : ""; }

const char* FindBody(const char* messageText) {
    const char* headerEnd = std::strstr(messageText, kHeaderEnd);
    if (headerEnd == nullptr) {
        return "";
    }
    return headerEnd + (sizeof kHeaderEnd - 1);
}

}  // namespace

int WriteMessageBlock(const char* messageText, std::FILE* file, int lineNumber) {
    MessageHeaders headers = {};
    ExtractHeaders(messageText, headers);
    std::fprintf(file, "Subject: %s\n", ValueOrEmpty(headers.subject));
    std::fprintf(file, "From: %s\n", ValueOrEmpty(headers.from));
    std::fprintf(file, "Date: %s\n", ValueOrEmpty(headers.date));
    if (PluginSettings.MeDocIndex != 0 && headers.subject != nullptr) {
        AppendMeDocEntry(lineNumber, headers.subject->text);
    }
    ReleaseMessageHeaders(headers);

    const char* body = FindBody(messageText);
    std::fputs(body, file);
    const int bodyLineFeeds = CountLineFeeds(body);
    std::fputs(kEndOfMessage, file);
    return kHeaderLineCount + bodyLineFeeds + kEndOfMessageLineCount;
}

int CountLineFeeds(const char* text) {
    int count = 0;
    for (const char* position = std::strchr(text, '\n'); position != nullptr;
         position = std::strchr(position + 1, '\n')) {
        ++count;
    }
    return count;
}
