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
    // Everything after the empty line that ends the header, or, where the
    // sender left that line out, from the first line of text; empty when
    // the text is all header.
    std::string_view body;
};

// Lines may end in CR LF or LF alone. An mbox "From " line at the head is
// passed over, and so is a UTF-8 byte-order mark before the header. A field
// is "name: value", blanks before the colon allowed and not part of the name.
// A name that holds blanks, and white space lines before the first field,
// belong to the header only when it goes on past them (to a field whose name
// holds none, or to the empty line); otherwise the text starts there.
MimeEntity ParseEntity(std::string_view text);

// The value of the last field of that name, in any letter case (the last,
// as the plug-in takes headers without decoding); null when there is none.
const std::string* FindField(const MimeEntity& entity, std::string_view name);

}  // namespace mime
