#include "shell/plugin_info.h"

#include <cstdint>
#include <cstring>

#include "resources/strings.h"

namespace shell {

namespace {

void WriteText(unsigned char* record, size_t offset, const char* text) {
    std::memcpy(record + offset, text, std::strlen(text) + 1);
}

}  // namespace

void FillPluginInfo(unsigned char* record) {
    using namespace plugin_info;
    const int32_t kind = kKindValue;
    std::memcpy(record + kKindOffset, &kind, sizeof kind);
    WriteText(record, kNameOffset, strings::kPluginName);
    WriteText(record, kVersionOffset, strings::kVersion);
    WriteText(record, kReleaseDateOffset, strings::kReleaseDate);
    WriteText(record, kAuthorOffset, strings::kAuthor);
    WriteText(record, kAuthorMailOffset, strings::kAuthorMail);
    WriteText(record, kAuthorPageOffset, strings::kAuthorPage);
    WriteText(record, kDescriptionOffset, strings::kDescription);
    for (size_t offset : kEmptiedOffsets) record[offset] = '\0';
}

}  // namespace shell
