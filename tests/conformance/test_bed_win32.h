// The test bed of the Win32 side: the real registry below the cases' own
// root, the process environment, and files in a folder of the case's own.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "conformance/test_bed.h"

namespace conformance {

// The name this program exports, so that it can stand for the host.
extern "C" __declspec(dllexport) void CoraxToPalmConformanceExport();

class Win32TestBed : public TestBed {
public:
    // folder is made if missing and emptied of files.
    explicit Win32TestBed(std::string folder);
    ~Win32TestBed() override;
    Win32TestBed(const Win32TestBed&) = delete;
    Win32TestBed& operator=(const Win32TestBed&) = delete;

    std::string FilePath(const std::string& name) override;
    std::string UnwritablePath(const std::string& name) override;
    void WriteIniFile(const std::string& path, const std::vector<IniLine>& lines) override;
    std::optional<std::string> StoredIniText(const std::string& path, const std::string& section,
                                             const std::string& key) override;
    std::vector<std::string> StoredIniKeys(const std::string& path, const std::string& section) override;

    void SetEnvironment(const std::string& name, const std::string& value) override;
    void UnsetEnvironment(const std::string& name) override;
    void SetWindowsTemporaryFolder(const std::string& folder) override;
    void WithoutWideCalls() override;

    ForeignFolder FolderOutsideTheCodePage(bool made) override;

    platform::ModuleHandle Module() override;
    std::string ModulePath() override;

    void CreateRegistryKey(const std::string& subkey) override;
    void SetRegistryText(const std::string& subkey, const std::string& name, const std::string& bytes,
                         RegistryText form) override;
    void SetRegistryDword(const std::string& subkey, const std::string& name, uint32_t data) override;
    bool RegistryKeyExists(const std::string& subkey) override;
    std::optional<uint32_t> RegistryDword(const std::string& subkey, const std::string& name) override;

    std::string HostExportName() override;

private:
    // Keeps a variable's first value, so that the bed can put it back.
    void Remember(const std::string& name);

    std::string folder_;
    std::vector<std::pair<FARPROC, FARPROC>> stubbedCalls_;  // (the call, its failing stub)
    std::vector<std::pair<std::string, std::optional<std::string>>> keptEnvironment_;
    std::map<std::string, std::wstring> foreignFolders_;  // spelled -> the path itself
};

}  // namespace conformance
