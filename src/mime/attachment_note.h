// The one line that stands in the text for a part that is not read.
#pragma once

#include <cstddef>
#include <string>

namespace mime {

// "[添付ファイル: NAME (2,057 バイト)]", with the size in decimal grouped
// by thousands.
std::string AttachmentNote(const std::string& name, std::size_t size);

}  // namespace mime
