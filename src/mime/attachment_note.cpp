#include "mime/attachment_note.h"

#include "resources/strings.h"

namespace mime {

namespace {

constexpr int kDigitsPerGroup = 3;

std::string GroupedCount(std::size_t count) {
    const std::string digits = std::to_string(count);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % kDigitsPerGroup == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

std::string AttachmentNote(const std::string& name, std::size_t size) {
    return strings::kAttachmentNoteStart + name + " (" + GroupedCount(size) + strings::kAttachmentNoteEnd;
}

}  // namespace mime
