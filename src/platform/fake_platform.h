// Control over the recording fake of the platform seam, for native tests.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace platform {

namespace fake_platform {

struct Box {
    WindowHandle owner;
    std::string text;
    std::string caption;
    BoxIcon icon;
};

struct MenuItem {
    MenuHandle menu;
    uint32_t id;
    std::string text;
};

// The state answers as Windows does, as the conformance cases in
// tests/conformance pin it: registry, INI and environment names match in any
// case (ASCII letters).
struct State {
    // (subkey, value) -> text or DWORD. A key exists when registryKeys names
    // it true or when a value or another key lies in or below it.
    std::map<std::pair<std::string, std::string>, std::string> registryTexts;
    std::map<std::string, bool> registryKeys;
    std::map<std::pair<std::string, std::string>, uint32_t> registryDwords;
    // path -> section -> key -> text after the "=", as the file holds it: the
    // reading drops the blanks around it and one pair of enclosing quotes.
    // A missing path is a missing file.
    std::map<std::string, std::map<std::string, std::map<std::string, std::string>>> iniFiles;
    std::vector<std::string> readOnlyIniPaths;
    std::string moduleFileName;  // empty: GetModuleFileNameA fails
    std::map<std::string, std::string> environment;  // an empty value reads as unset
    std::string temporaryDirectory = "C:\\Windows\\Temp";
    // A path that code page 932 cannot spell is held as Windows spells it
    // there, with "?" (which no file name holds) for what it cannot; the
    // paths that have a short form give it.
    std::map<std::string, std::string> shortPaths;
    std::map<std::string, void*> hostExports;
    LocalDate today = {5, 22};

    std::vector<Box> boxes;
    std::vector<MenuItem> menuItems;
    std::vector<std::string> calls;  // every seam function called, by name
};

// The one fake state; Reset() gives a fresh one.
State& Fake();
void Reset();

// Whether RegOpenKeyExA would find the key below HKEY_CURRENT_USER.
bool RegistryKeyExists(const std::string& subkey);

}  // namespace fake_platform

}  // namespace platform
