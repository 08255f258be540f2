// Every conformance case of the platform seam, one table per area; the
// native tests run them against the fake, platform-conformance.exe against
// the Win32 implementation.
#pragma once

#include <iterator>
#include <vector>

#include "conformance/charset_cases.h"
#include "conformance/environment_cases.h"
#include "conformance/host_export_cases.h"
#include "conformance/ini_cases.h"
#include "conformance/module_cases.h"
#include "conformance/registry_cases.h"

namespace conformance {

template <std::size_t N>
void Append(std::vector<Case>& cases, const Case (&table)[N]) {
    cases.insert(cases.end(), std::begin(table), std::end(table));
}

inline std::vector<Case> PlatformCases() {
    std::vector<Case> cases;
    Append(cases, ini::kCases);
    Append(cases, module::kCases);
    Append(cases, environment::kCases);
    Append(cases, registry::kCases);
    Append(cases, host_export::kCases);
    Append(cases, charset::kCases);
    return cases;
}

}  // namespace conformance
