// A message or body part split into its header fields and its body.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mime {

struct HeaderField {
    std::string_view name;
    // Unfolded: the line ends are gone, the blanks that began each
    // continuation line stay.
    std::string value;
};

struct MimeEntity {
    std::vector<HeaderField> fields;
    // Everything after the empty line that ends the header, or from the
    // first line that is neither a field nor a continuation; empty when the
    // text is all header.
    std::string_view body;
};

// Lines may end in CR LF or LF alone. An mbox "From " line at the head is
// passed over, and so is a UTF-8 byte-order mark before the header.
MimeEntity ParseEntity(std::string_view text);

// The value of the last field of that name, in any letter case (the last,
// as the plug-in takes headers without decoding); null when there is none.
const std::string* FindField(const MimeEntity& entity, std::string_view name);

}  // namespace mime
