// The body parts of a multipart body.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mime {

// The parts between the delimiter lines "--boundary" (white space may
// follow) up to the closing "--boundary--"; preamble and epilogue are left
// out. Without a closing delimiter the last part runs to the end. No part
// when no delimiter line is found.
std::vector<std::string_view> SplitMultipart(std::string_view body, std::string_view boundary);

}  // namespace mime
