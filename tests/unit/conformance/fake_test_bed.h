// The test bed of the native side: the platform fake's state, set as a test
// would set it and read back as it holds it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "conformance/test_bed.h"

class FakeTestBed : public conformance::TestBed {
public:
    FakeTestBed();
    ~FakeTestBed() override;
    FakeTestBed(const FakeTestBed&) = delete;
    FakeTestBed& operator=(const FakeTestBed&) = delete;

    std::string FilePath(const std::string& name) override;
    std::string UnwritablePath(const std::string& name) override;
    void WriteIniFile(const std::string& path, const std::vector<conformance::IniLine>& lines) override;
    std::optional<std::string> StoredIniText(const std::string& path, const std::string& section,
                                             const std::string& key) override;
    std::vector<std::string> StoredIniKeys(const std::string& path, const std::string& section) override;

    void SetEnvironment(const std::string& name, const std::string& value) override;
    void UnsetEnvironment(const std::string& name) override;
    void SetWindowsTemporaryFolder(const std::string& folder) override;
    void WithoutWideCalls() override;

    conformance::ForeignFolder FolderOutsideTheCodePage(bool made) override;

    platform::ModuleHandle Module() override;
    std::string ModulePath() override;

    void CreateRegistryKey(const std::string& subkey) override;
    void SetRegistryText(const std::string& subkey, const std::string& name, const std::string& bytes,
                         conformance::RegistryText form) override;
    void SetRegistryDword(const std::string& subkey, const std::string& name, uint32_t data) override;
    bool RegistryKeyExists(const std::string& subkey) override;
    std::optional<uint32_t> RegistryDword(const std::string& subkey, const std::string& name) override;

    std::string HostExportName() override;
};
