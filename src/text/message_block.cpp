#include "text/message_block.h"

#include <cstring>
#include <string>

#include "platform/file_system.h"
#include "settings/plugin_settings.h"
#include "text/medoc_index.h"
#include "text/message_headers.h"

namespace text {

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

bool WriteBytes(const char* bytes, std::size_t length, std::FILE* file) {
    return length == 0 || platform::Files.write(bytes, 1, length, file) == length;
}

}  // namespace

int WriteMessageBlock(const char* messageText, std::FILE* file, int linesBefore, WrittenBlock* written) {
    MessageHeaders headers = {};
    ExtractHeaders(messageText, headers);
    const std::string headerLines = std::string("Subject: ") + ValueOrEmpty(headers.subject) + "\nFrom: " +
                                    ValueOrEmpty(headers.from) + "\nDate: " + ValueOrEmpty(headers.date) + "\n";
    if (settings::PluginSettings.MeDocIndex != 0 && headers.subject != nullptr) {
        AddMeDocEntry(linesBefore, headers.subject->text);
    }
    if (written != nullptr) written->subject = ValueOrEmpty(headers.subject);
    ReleaseMessageHeaders(headers);

    const char* body = FindBody(messageText);
    const std::size_t bodyLength = std::strlen(body);
    if (!WriteBytes(headerLines.data(), headerLines.size(), file) || !WriteBytes(body, bodyLength, file) ||
        !WriteBytes(kEndOfMessage, sizeof kEndOfMessage - 1, file)) {
        return kWriteFailed;
    }
    if (written != nullptr) written->length = headerLines.size() + bodyLength + (sizeof kEndOfMessage - 1);
    return kHeaderLineCount + CountLineFeeds(body) + kEndOfMessageLineCount;
}

int CountLineFeeds(const char* text) {
    int count = 0;
    for (const char* position = std::strchr(text, '\n'); position != nullptr;
         position = std::strchr(position + 1, '\n')) {
        ++count;
    }
    return count;
}

}  // namespace text
