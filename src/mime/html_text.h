// The readable text of an HTML body already in code page 932.
#pragma once

#include <string>
#include <string_view>

namespace mime {

// Tags go; br, p, div, li, headings and the other blocks end lines; script,
// style and title go with their content; the white space of the source
// collapses as a browser would (pre keeps it); entities (the common named
// ones, decimal and hexadecimal) are decoded; runs of empty lines become
// one, and none stand at either end. Lines end in LF.
std::string HtmlToText(std::string_view html);

// The charset an HTML document declares in its meta element; empty when none.
std::string DeclaredHtmlCharset(std::string_view html);

}  // namespace mime
