// The MIME decoder on any message text: it always gives a result, every line
// of which ends in CR LF and none of which holds a NUL byte, since the export
// goes on with it as a NUL-terminated string of CR LF lines.
#include <string>

#include "fuzz_support.h"
#include "mime/mime_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The host hands over a NUL-terminated text: a NUL in the input ends it.
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string decoded;
    Require(mime::DecodeMimeMessage(text.c_str(), decoded));
    Require(decoded.find('\0') == std::string::npos);
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if (decoded[i] == '\n') Require(i > 0 && decoded[i - 1] == '\r');
        if (decoded[i] == '\r') Require(i + 1 < decoded.size() && decoded[i + 1] == '\n');
    }
    return 0;
}
