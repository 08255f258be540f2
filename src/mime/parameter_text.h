// File names of attachments, as senders write them, in code page 932.
#pragma once

#include <string>
#include <string_view>

#include "mime/structured_field.h"

namespace mime {

// The parameter name of field, readable: RFC 2231 (name*=charset'lang'%XX,
// and the sections name*0, name*1* ...) or, as many mailers write it, RFC
// 2047 words or raw text inside the plain parameter. Empty when missing.
std::string DecodeParameterText(const StructuredField& field, std::string_view name);

}  // namespace mime
