#include "export/export_command.h"

#include <cstring>
#include <string>

#include "export/folder_export.h"
#include "host/error_box.h"
#include "host/failure_code.h"
#include "host/host_api.h"
#include "host/host_state.h"
#include "host/last_output_path.h"
#include "hotsync/palm_desktop.h"
#include "platform/platform.h"
#include "resources/strings.h"
#include "settings/plugin_settings.h"

namespace exporter {

namespace {

constexpr char kSelectAllUnreadMacro[] = "SelectAllUnreadMessage();";
constexpr char kFocusListMacro[] = "SetFocusToList();";
constexpr char kFocusFolderMacro[] = "SetFocusToFolder();";
constexpr char kSubfolderPattern[] = "\\*.ctx";
constexpr char kPlainPattern[] = "*.ctx";
// A listed path names its folder after "Account" and one separator.
constexpr char kAccountMarker[] = "Account";
constexpr size_t kAccountPrefixLength = sizeof kAccountMarker;  // the marker and its separator

void ShowInformation(const std::string& text, const char* caption) {
    platform::ShowMessageBox(host::HostMainWindow, text.c_str(), caption, platform::BoxIcon::Information);
}

}  // namespace

int GetCurrentFolderPath(char* path) {
    path[0] = '\0';
    host::HostApi.CXA_GetCurrentCtxpath(path);
    if (path[0] != '\0') return 1;
    host::HostApi.CXA_GetAindexFolderPath(host::MenuEventContext, path);
    return 0;
}

int ExportUnread(const char* folderPath) {
    if (folderPath[0] == '\0') return 0;
    host::HostApi.CXA_OpenAllThread();
    host::HostApi.CXA_RunMacro(kSelectAllUnreadMacro);
    const int produced = ExportFolder(folderPath);
    host::HostApi.CXA_CloseAllThread();
    host::HostApi.CXA_RunMacro(kFocusListMacro);
    host::HostApi.CXA_RunMacro(kFocusFolderMacro);
    host::HostApi.CXA_ReDispListAndView();
    return produced;
}

bool OpenFolderByMacro(const char* listedPath) {
    const char* account = std::strstr(listedPath, kAccountMarker);
    // Without it the host could not be told which folder to open, and the
    // export would take whatever folder is current.
    if (account == nullptr || std::strlen(account) < kAccountPrefixLength) return false;
    const std::string statement = std::string("OpenThisFolder(\"") + (account + kAccountPrefixLength) + "\");";
    host::HostApi.CXA_RunMacro(statement.c_str());
    return true;
}

int ExportSubfolders(char* folderPath) {
    // inbox.ctx becomes inbox\*.ctx: the folders below a folder lie in a
    // directory of its name beside its message file.
    std::string pattern = folderPath;
    const size_t dot = pattern.rfind('.');
    pattern = dot == std::string::npos ? pattern + kPlainPattern : pattern.substr(0, dot) + kSubfolderPattern;
    if (pattern.size() < host::kPathBufferSize) {
        std::memcpy(folderPath, pattern.c_str(), pattern.size() + 1);
    }

    static char list[host::kFolderListSize];
    std::memset(list, 0, sizeof list);
    const int32_t listed = host::HostApi.CXA_ListUpFiles(pattern.c_str(), list, host::kFolderListSize);
    if (listed < 0) {
        host::ShowErrorBox(strings::kTooManyFolders);
        return 0;
    }
    int exported = 0;
    const char* const end = list + sizeof list;
    const char* entry = list;
    for (int32_t i = 0; i < listed && entry < end; ++i) {
        const void* terminator = std::memchr(entry, '\0', static_cast<size_t>(end - entry));
        if (terminator == nullptr) break;  // the host's list ran past its buffer
        if (OpenFolderByMacro(entry) && ExportUnread(entry) != 0) ++exported;
        entry = static_cast<const char*>(terminator) + 1;
    }
    return exported;
}

void ReportResult(int exported) {
    if (exported == 0) {
        if (host::FailureCode == host::kNoFailure) ShowInformation(strings::kNothingToConvert, strings::kBoxCaption);
        return;
    }
    // Composed whole, however long the user name and the path.
    std::string text;
    if (!settings::PluginSettings.ConvToDoc) {
        text = std::string(strings::kTextFileLabel) + "\nFile : " + host::LastOutputPath + "\n";
        ShowInformation(text, strings::kBoxCaption);
        return;
    }
    if (hotsync::PalmDesktopPath.currentUser != nullptr) {
        text = std::string("User : ") + hotsync::PalmDesktopPath.currentUser->name + "\nTitle : " +
               host::LastOutputPath + "\n";
    } else {
        text = std::string("File : ") + host::LastOutputPath + "\n";
    }
    ShowInformation(text, strings::kDoneCaption);
}

void RunExportCommand(ExportMode mode) {
    if (host::HostMainWindow == nullptr) {
        host::Window others = nullptr;
        host::HostApi.CXA_GetStaticWindows(&host::HostMainWindow, &others, &others, &others, &others);
    }
    host::FailureCode = host::kNoFailure;
    char folderPath[host::kPathBufferSize];
    const int current = GetCurrentFolderPath(folderPath);
    int exported = 0;
    if (mode == ExportMode::Selection) {
        exported = ExportFolder(folderPath);
    } else {
        if (current) exported = ExportUnread(folderPath);
        if (settings::PluginSettings.SubFolder) exported += ExportSubfolders(folderPath);
    }
    ReportResult(exported);
}

}  // namespace exporter
