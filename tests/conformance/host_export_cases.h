// Functions the host's executable exports, found by their exact name.
#pragma once

#include <string>

#include "conformance/expectations.h"
#include "conformance/test_bed.h"
#include "platform/platform.h"

namespace conformance::host_export {

inline std::string Lowercase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

inline void FoundByItsExactName(TestBed& bed, Expectations& expect) {
    const std::string name = bed.HostExportName();
    expect.True(platform::FindHostExport(name.c_str()) != nullptr, "exported name found");
    expect.True(platform::FindHostExport(Lowercase(name).c_str()) == nullptr, "name in another case not found");
    expect.True(platform::FindHostExport("NoSuchExport") == nullptr, "unknown name not found");
}

inline constexpr Case kCases[] = {
    {"HostExportFoundByItsExactName", FoundByItsExactName},
};

}  // namespace conformance::host_export
