// Control over the recording fake of the platform seam, for native tests.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace fake_platform {

struct Box {
    platform::WindowHandle owner;
    std::string text;
    std::string caption;
    platform::BoxIcon icon;
};

struct MenuItem {
    platform::MenuHandle menu;
    uint32_t id;
    std::string text;
};

struct State {
    // "subkey\0value" -> text; keys that exist (for the DWORD writes).
    std::map<std::pair<std::string, std::string>, std::string> registryTexts;
    std::map<std::string, bool> registryKeys;
    std::map<std::pair<std::string, std::string>, uint32_t> registryDwords;
    // path -> section -> key -> text; a missing path is a missing file.
    std::map<std::string, std::map<std::string, std::map<std::string, std::string>>> iniFiles;
    std::vector<std::string> readOnlyIniPaths;
    std::string moduleFileName;  // empty: GetModuleFileNameA fails
    std::map<std::string, std::string> environment;
    std::string temporaryDirectory = "C:\\Windows\\Temp";
    std::map<std::string, void*> hostExports;
    platform::LocalDate today = {5, 22};

    std::vector<Box> boxes;
    std::vector<MenuItem> menuItems;
    std::vector<std::string> calls;  // every seam function called, by name
};

// The one fake state; Reset() gives a fresh one.
State& Fake();
void Reset();

}  // namespace fake_platform
