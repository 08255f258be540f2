#include "fake_test_bed.h"

#include <algorithm>

#include "platform/fake_platform.h"

namespace fake_platform = platform::fake_platform;

namespace {

using fake_platform::Fake;

constexpr char kFolder[] = "C:\\Conformance";
constexpr char kHostExport[] = "CoraxToPalmConformanceExport";
// Longer than the settings store's capacity, with a double-byte folder name.
const std::string kModulePath =
    "C:\\Program Files\\Corax\\表示ソフト\\" + std::string(240, 'p') + "\\CoraxToPalm.dll";

int moduleStandIn;  // its address stands for the module handle and the host export

bool SameName(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

FakeTestBed::FakeTestBed() {
    fake_platform::Reset();
    Fake().moduleFileName = kModulePath;
    Fake().hostExports[kHostExport] = &moduleStandIn;
}

FakeTestBed::~FakeTestBed() { fake_platform::Reset(); }

std::string FakeTestBed::FilePath(const std::string& name) { return std::string(kFolder) + "\\" + name; }

std::string FakeTestBed::UnwritablePath(const std::string& name) {
    const std::string path = std::string(kFolder) + "\\missing\\" + name;
    Fake().readOnlyIniPaths.push_back(path);
    return path;
}

void FakeTestBed::WriteIniFile(const std::string& path, const std::vector<conformance::IniLine>& lines) {
    auto& file = Fake().iniFiles[path];
    file.clear();
    for (const conformance::IniLine& line : lines) file[line.section][line.key] = line.text;
}

std::optional<std::string> FakeTestBed::StoredIniText(const std::string& path, const std::string& section,
                                                      const std::string& key) {
    const auto file = Fake().iniFiles.find(path);
    if (file == Fake().iniFiles.end()) return std::nullopt;
    const auto keys = file->second.find(section);
    if (keys == file->second.end()) return std::nullopt;
    const auto text = keys->second.find(key);
    if (text == keys->second.end()) return std::nullopt;
    return text->second;
}

std::vector<std::string> FakeTestBed::StoredIniKeys(const std::string& path, const std::string& section) {
    std::vector<std::string> names;
    const auto file = Fake().iniFiles.find(path);
    if (file == Fake().iniFiles.end()) return names;
    const auto keys = file->second.find(section);
    if (keys == file->second.end()) return names;
    for (const auto& entry : keys->second) names.push_back(entry.first);
    return names;
}

void FakeTestBed::SetEnvironment(const std::string& name, const std::string& value) {
    Fake().environment[name] = value;
}

// Windows has one variable of a name whatever its case.
void FakeTestBed::UnsetEnvironment(const std::string& name) {
    auto& environment = Fake().environment;
    for (auto variable = environment.begin(); variable != environment.end();) {
        variable = SameName(variable->first, name) ? environment.erase(variable) : std::next(variable);
    }
}

void FakeTestBed::SetWindowsTemporaryFolder(const std::string& folder) { Fake().temporaryDirectory = folder; }

// The fake reads the environment one way only.
void FakeTestBed::WithoutWideCalls() {}

conformance::ForeignFolder FakeTestBed::FolderOutsideTheCodePage(bool made) {
    conformance::ForeignFolder folder = {FilePath(made ? "??田" : "??野"), ""};
    if (made) folder.shortPath = Fake().shortPaths[folder.spelled] = FilePath("8F4C~1");
    return folder;
}

platform::ModuleHandle FakeTestBed::Module() { return &moduleStandIn; }

std::string FakeTestBed::ModulePath() { return kModulePath; }

void FakeTestBed::CreateRegistryKey(const std::string& subkey) { Fake().registryKeys[subkey] = true; }

// The fake holds the text itself, however Windows would store it.
void FakeTestBed::SetRegistryText(const std::string& subkey, const std::string& name, const std::string& bytes,
                                  conformance::RegistryText) {
    Fake().registryTexts[{subkey, name}] = bytes;
}

void FakeTestBed::SetRegistryDword(const std::string& subkey, const std::string& name, uint32_t data) {
    Fake().registryDwords[{subkey, name}] = data;
}

bool FakeTestBed::RegistryKeyExists(const std::string& subkey) { return fake_platform::RegistryKeyExists(subkey); }

// As RegQueryValueExA finds it: names in any case.
std::optional<uint32_t> FakeTestBed::RegistryDword(const std::string& subkey, const std::string& name) {
    for (const auto& [value, data] : Fake().registryDwords) {
        if (SameName(value.first, subkey) && SameName(value.second, name)) return data;
    }
    return std::nullopt;
}

std::string FakeTestBed::HostExportName() { return kHostExport; }
