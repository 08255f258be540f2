#include "code_page_text.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kUtf8[] = "UTF-8";
// What nl_langinfo names ASCII in the C locale.
constexpr char kAsciiCodeset[] = "ANSI_X3.4-1968";

}  // namespace

bool ConvertText(const char* to, const char* from, const std::string& text, std::string& out, bool lenient,
                 std::size_t* stoppedAt) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    out.clear();
    std::vector<char> input(text.begin(), text.end());
    char* in = input.data();
    std::size_t inLeft = input.size();
    bool ok = true;
    while (inLeft > 0) {
        char buffer[256];
        char* outPointer = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
        out.append(buffer, outPointer);
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        if (!lenient) {
            if (stoppedAt != nullptr) *stoppedAt = static_cast<std::size_t>(in - input.data());
            ok = false;
            break;
        }
        out.push_back('?');
        ++in;
        --inLeft;
    }
    iconv_close(converter);
    return ok;
}

const char* TerminalEncoding() {
    // Read once, with the environment's locale in force only while it is
    // read: the library's byte handling must not depend on the locale.
    static const std::string encoding = [] {
        const std::string previous = std::setlocale(LC_CTYPE, nullptr);
        std::setlocale(LC_CTYPE, "");
        const char* codeset = nl_langinfo(CODESET);
        std::string name = codeset == nullptr || *codeset == '\0' || std::strcmp(codeset, kAsciiCodeset) == 0
                               ? kUtf8
                               : codeset;
        std::setlocale(LC_CTYPE, previous.c_str());
        return name;
    }();
    return encoding.c_str();
}
