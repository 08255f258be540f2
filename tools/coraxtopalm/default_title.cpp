#include "default_title.h"

#include "platform/cp932.h"

std::string DefaultTitle(const std::string& path) {
    const char* separator = platform::cp932::FindLastOf(path.c_str(), "/\\");
    std::string name = separator == nullptr ? path : std::string(separator + 1);
    const char* dot = platform::cp932::FindLastOf(name.c_str(), ".");
    if (dot != nullptr && dot != name.c_str()) name.resize(static_cast<std::size_t>(dot - name.c_str()));
    return name;
}
