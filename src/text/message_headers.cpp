#include "text/message_headers.h"

#include <cstring>

#include "platform/cp932.h"
#include "settings/plugin_settings.h"
#include "text/byte_classes.h"
#include "text/header_cleanup.h"
#include "text/text_storage.h"

namespace text {

namespace {

struct HeaderField {
    const char* name;
    HeaderValue* MessageHeaders::*field;
    int32_t settings::SettingsRecord::*cleanUpSetting;
    void (*cleanUp)(HeaderValue& value);
};

// The names differ in their first letter, so a line matches at most one.
const HeaderField kHeaderFields[] = {
    {"Subject:", &MessageHeaders::subject, &settings::SettingsRecord::TrimSubject, TrimSubjectTag},
    {"From:", &MessageHeaders::from, &settings::SettingsRecord::TrimFrom, TrimFromValue},
    {"Date:", &MessageHeaders::date, &settings::SettingsRecord::ConvDate, ConvertDate},
};

void ReleaseHeaderValue(HeaderValue*& value) {
    if (value != nullptr) {
        TextStorage.release(value);
        value = nullptr;
    }
}

void TakeHeader(const HeaderField& header, const char* valueStart, MessageHeaders& headers) {
    HeaderValue* value = static_cast<HeaderValue*>(TextStorage.allocateZeroed(sizeof(HeaderValue)));
    if (value == nullptr) {
        return;  // an earlier occurrence, if any, stays
    }
    CopyHeaderValue(valueStart, value->text, kHeaderValueLimit);
    if (settings::PluginSettings.*header.cleanUpSetting != 0) {
        header.cleanUp(*value);
    }
    ReleaseHeaderValue(headers.*header.field);
    headers.*header.field = value;
}

}  // namespace

void ExtractHeaders(const char* messageText, MessageHeaders& headers) {
    for (const char* line = messageText; line != nullptr; line = NextHeaderLine(line)) {
        for (const HeaderField& header : kHeaderFields) {
            const char* valueStart = MatchHeaderName(line, header.name);
            if (valueStart != nullptr) {
                TakeHeader(header, valueStart, headers);
                break;
            }
        }
    }
}

void ReleaseMessageHeaders(MessageHeaders& headers) {
    ReleaseHeaderValue(headers.subject);
    ReleaseHeaderValue(headers.from);
    ReleaseHeaderValue(headers.date);
}

void CopyHeaderValue(const char* value, char* destination, std::size_t limit) {
    std::size_t copied = 0;
    bool afterLineEnd = false;
    // The last byte copied began a double-byte character: the next one
    // copied is its second byte.
    bool secondByteDue = false;
    const char* source = value;
    while (copied < limit && *source != '\0') {
        const char byte = *source;
        if (byte == kCarriageReturn) {
            ++source;
            continue;
        }
        if (afterLineEnd) {
            if (!IsFoldingBlank(byte)) {
                break;
            }
            // A continuation line: its opening blanks vanish with the line end.
            while (IsFoldingBlank(*source)) {
                ++source;
            }
            afterLineEnd = false;
            continue;
        }
        if (byte == kLineFeed) {
            afterLineEnd = true;
        } else if (secondByteDue || !platform::cp932::IsLeadByte(byte)) {
            destination[copied++] = byte;
            secondByteDue = false;
        } else {
            // A first byte without room for its second is left out: alone it
            // would pair with whatever follows the value.
            if (copied + 2 > limit) {
                break;
            }
            destination[copied++] = byte;
            secondByteDue = true;
        }
        ++source;
    }
    destination[copied] = '\0';
}

const char* NextHeaderLine(const char* line) {
    const char* position = line;
    for (;;) {
        position = std::strchr(position, kLineFeed);
        if (position == nullptr) {
            return nullptr;
        }
        ++position;
        if (*position == kCarriageReturn || *position == '\0') {
            return nullptr;  // the empty line that closes the header
        }
        if (!IsFoldingBlank(*position)) {
            return position;
        }
    }
}

const char* MatchHeaderName(const char* line, const char* name) {
    const std::size_t nameLength = std::strlen(name);
    if (std::strncmp(line, name, nameLength) != 0) {
        return nullptr;
    }
    const char* valueStart = line + nameLength;
    // Only a blank separates; "Subject:X" keeps its X and "Subject:" followed
    // by a bare LF must not take the next line as its value.
    if (IsFoldingBlank(*valueStart)) {
        ++valueStart;
    }
    return valueStart;
}

}  // namespace text
