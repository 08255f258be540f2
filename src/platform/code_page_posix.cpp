// The code page conversion of the native build, by the C library's iconv.
#include <iconv.h>

#include <cerrno>

#include "platform/platform.h"

namespace platform {

namespace {

// Without a byte order mark; the units are put together byte by byte, so the
// host's own byte order does not matter.
constexpr char kUtf16LittleEndian[] = "UTF-16LE";
constexpr std::size_t kBufferBytes = 4096;
constexpr int kBitsPerByte = 8;
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
const std::size_t kFailed = static_cast<std::size_t>(-1);

void AppendUnits(const char* begin, const char* end, std::u16string& utf16) {
    for (const char* byte = begin; byte + 1 < end; byte += 2) {
        const unsigned low = static_cast<unsigned char>(byte[0]);
        const unsigned high = static_cast<unsigned char>(byte[1]);
        utf16 += static_cast<char16_t>(low | high << kBitsPerByte);
    }
}

}  // namespace

bool CodePageToUtf16(const CodePage& codePage, std::string_view bytes, std::u16string& utf16) {
    if (codePage.iconv == nullptr) return false;
    const iconv_t converter = iconv_open(kUtf16LittleEndian, codePage.iconv);
    if (converter == kNoConverter) return false;
    // iconv's signature wants the input writable; it only reads it.
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[kBufferBytes];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
        const int error = errno;
        AppendUnits(buffer, out, utf16);
        if (converted != kFailed || error == E2BIG) continue;
        utf16 += kReplacementCharacter;
        // EINVAL: a character cut off at the end, with nothing after it to
        // read; otherwise (EILSEQ) the byte there starts no character.
        const std::size_t skipped = error == EINVAL ? inLeft : 1;
        in += skipped;
        inLeft -= skipped;
    }
    // What the converter still holds: the last bits of a UTF-7 run, or a
    // letter that windows-1255 and -1258 keep back for an accent to follow.
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(converter, nullptr, nullptr, &out, &outLeft);
    AppendUnits(buffer, out, utf16);
    iconv_close(converter);
    return true;
}

}  // namespace platform
