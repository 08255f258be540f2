// The library's file path from GetModuleFileNameA, and the INI path the
// settings store forms from it: a path that did not fit is no path at all.
#pragma once

#include <string>
#include <vector>

#include "conformance/expectations.h"
#include "conformance/test_bed.h"
#include "host/host_state.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace conformance::module {

constexpr std::size_t kGuardBytes = 8;
constexpr char kGuardByte = '#';
// GetIniFilePath writes up to this much past its capacity.
constexpr std::size_t kIniExtensionGrowth = 3;

inline void PathWholeWhenItFits(TestBed& bed, Expectations& expect) {
    const std::string path = bed.ModulePath();
    const uint32_t capacity = static_cast<uint32_t>(path.size() + 1);
    std::vector<char> buffer(capacity + kGuardBytes, kGuardByte);
    expect.Equal(platform::ModuleFileName(bed.Module(), buffer.data(), capacity), capacity - 1, "count");
    expect.Equal(std::string(buffer.data()), path, "path");
    expect.Equal(std::string(buffer.end() - kGuardBytes, buffer.end()), std::string(kGuardBytes, kGuardByte),
                 "bytes past the buffer");
}

// Every capacity that cannot hold the path and its terminator, so that a cut
// inside a double-byte character is met too when the path has one.
inline void CutPathGivesNothing(TestBed& bed, Expectations& expect) {
    const uint32_t length = static_cast<uint32_t>(bed.ModulePath().size());
    for (uint32_t capacity = 0; capacity <= length; ++capacity) {
        std::vector<char> buffer(capacity + kGuardBytes, kGuardByte);
        expect.Equal(platform::ModuleFileName(bed.Module(), buffer.data(), capacity), 0u,
                     "count into " + std::to_string(capacity) + " of " + std::to_string(length));
        expect.Equal(std::string(buffer.end() - kGuardBytes, buffer.end()), std::string(kGuardBytes, kGuardByte),
                     "bytes past " + std::to_string(capacity));
    }
}

// Forms the INI path with the bed's module as the library's own.
inline int IniPath(TestBed& bed, uint32_t capacity, std::string& path) {
    void* const kept = host::ModuleHandle;
    host::ModuleHandle = bed.Module();
    std::vector<char> buffer(capacity + kIniExtensionGrowth, '\0');
    const int formed = settings::GetIniFilePath(buffer.data(), capacity);
    host::ModuleHandle = kept;
    path = buffer.data();
    return formed;
}

inline void IniPathBesideTheModule(TestBed& bed, Expectations& expect) {
    const std::string modulePath = bed.ModulePath();
    std::string path;
    expect.Equal(IniPath(bed, static_cast<uint32_t>(modulePath.size() + 1), path), 1, "formed");
    expect.Equal(path, modulePath.substr(0, modulePath.rfind('.')) + ".ini", "path");
}

inline void CutModulePathGivesNoIniPath(TestBed& bed, Expectations& expect) {
    std::string path;
    expect.Equal(IniPath(bed, static_cast<uint32_t>(bed.ModulePath().size()), path), 0, "formed");
}

inline constexpr Case kCases[] = {
    {"ModulePathWholeWhenItFits", PathWholeWhenItFits},
    {"ModuleCutPathGivesNothing", CutPathGivesNothing},
    {"ModuleIniPathBesideTheModule", IniPathBesideTheModule},
    {"ModuleCutPathGivesNoIniPath", CutModulePathGivesNoIniPath},
    // Windows 98 and Me, where the ANSI call serves.
    {"ModulePathWithoutTheWideCalls",
     [](TestBed& bed, Expectations& expect) {
         bed.WithoutWideCalls();
         PathWholeWhenItFits(bed, expect);
         CutPathGivesNothing(bed, expect);
     }},
};

}  // namespace conformance::module
