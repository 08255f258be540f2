// One side's means of arranging what the platform functions meet and of
// looking at what they left, without going through the functions under test:
// the recording fake's state natively, the real registry, environment and
// files under Windows. A test bed is made for one case and undoes its
// changes when it goes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "conformance/expectations.h"
#include "platform/platform.h"

namespace conformance {

// Below HKEY_CURRENT_USER; every key a case touches lies below it.
constexpr char kRegistryRoot[] = "Software\\CoraxToPalmConformance";

// One "key=text" line of a private-profile file, as an editor would leave
// it: text is everything after the "=", blanks and quotes included.
struct IniLine {
    std::string section;
    std::string key;
    std::string text;
};

enum class RegistryText {
    Terminated,    // REG_SZ with its terminator, as the registry editor stores it
    Unterminated,  // REG_SZ whose size leaves the terminator out
    Expandable,    // REG_EXPAND_SZ with its terminator
};

// A folder in the case's own whose name has a character that code page 932
// cannot hold. spelled is its path as Windows spells it in the code page,
// with "?" for that character; the bed's setters take it for the folder.
struct ForeignFolder {
    std::string spelled;
    std::string shortPath;  // with its own name in short form; empty for a folder not made
};

class TestBed {
public:
    virtual ~TestBed() = default;

    // A path for a file of this case's own, in a folder that exists.
    virtual std::string FilePath(const std::string& name) = 0;
    // A path in a folder that does not exist, so that no file can be made.
    virtual std::string UnwritablePath(const std::string& name) = 0;
    // Lines in the given order; the section heads are written where the section changes.
    virtual void WriteIniFile(const std::string& path, const std::vector<IniLine>& lines) = 0;
    // The text after "=" of the key as stored, names matched exactly.
    virtual std::optional<std::string> StoredIniText(const std::string& path, const std::string& section,
                                                     const std::string& key) = 0;
    // The key names stored in the section, in ascending byte order.
    virtual std::vector<std::string> StoredIniKeys(const std::string& path, const std::string& section) = 0;

    virtual void SetEnvironment(const std::string& name, const std::string& value) = 0;
    virtual void UnsetEnvironment(const std::string& name) = 0;
    // The folder Windows gives as its temporary directory while "TMP" is unset.
    virtual void SetWindowsTemporaryFolder(const std::string& folder) = 0;
    // From now on the wide calls of environment, temporary folder, module
    // path and registry fail as Windows 98 and Me have them: not implemented.
    virtual void WithoutWideCalls() = 0;

    // made: the folder exists, with its short form; else it is only named.
    virtual ForeignFolder FolderOutsideTheCodePage(bool made) = 0;

    // A module and its whole file path.
    virtual platform::ModuleHandle Module() = 0;
    virtual std::string ModulePath() = 0;

    // subkey is below HKEY_CURRENT_USER. A value brings its key into being,
    // and a key its parents, as in the registry.
    virtual void CreateRegistryKey(const std::string& subkey) = 0;
    virtual void SetRegistryText(const std::string& subkey, const std::string& name, const std::string& bytes,
                                 RegistryText form) = 0;
    virtual void SetRegistryDword(const std::string& subkey, const std::string& name, uint32_t data) = 0;
    virtual bool RegistryKeyExists(const std::string& subkey) = 0;
    // The data of a REG_DWORD value; none when missing or of another type.
    virtual std::optional<uint32_t> RegistryDword(const std::string& subkey, const std::string& name) = 0;

    // A name the host's executable exports.
    virtual std::string HostExportName() = 0;
};

// One assertion of how the platform behaves, run against either side.
struct Case {
    const char* name;  // a C identifier, as GoogleTest wants it
    void (*run)(TestBed& bed, Expectations& expect);
};

}  // namespace conformance
