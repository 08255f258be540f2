#include "code_page_text.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

bool ConvertText(const char* to, const char* from, const std::string& text, std::string& out,
             bool lenient) {
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
