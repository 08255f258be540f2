// Readable Japanese mail: one message text as the host gives it turned into
// a plain code page 932 message, which the export then treats like any
// other. One message is held at a time.
#pragma once

#include <string>

namespace mime {

// decoded gets the message's Subject, From and Date lines (those it has,
// decoded), an empty line and its readable body (ReadableBody), every line
// ending in CR LF and no NUL byte in it. Without any of the three it starts
// with two line ends, so that it still reads as an empty header and a body. Any input gives a result: what
// cannot be decoded stays as it came. False only when memory runs out;
// decoded is then empty, and the caller keeps the text as it came.
bool DecodeMimeMessage(const char* messageText, std::string& decoded) noexcept;

}  // namespace mime
