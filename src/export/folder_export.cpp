#include "export/folder_export.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "export/base_name.h"
#include "export/export_text.h"
#include "export/message_source.h"
#include "host/error_box.h"
#include "host/failure_code.h"
#include "host/host_api.h"
#include "host/last_output_path.h"
#include "hotsync/install_queue.h"
#include "palmdoc/pdb_writer.h"
#include "platform/file_system.h"
#include "platform/temporary_folder.h"
#include "resources/strings.h"
#include "settings/plugin_settings.h"
#include "text/medoc_index.h"

namespace exporter {

namespace {

constexpr char kDoReadMacro[] = "DoRead();";

// A file in the temporary folder, uncut: what an error box names when the
// path does not fit its buffer.
std::string TemporaryFilePath(const std::string& name, const char* extension) {
    return platform::TemporaryFolder() + "\\" + name + extension;
}

// The .pdb path MakePdbPath refused, as it would have been.
std::string IntendedPdbPath(const char* baseName) {
    const hotsync::PalmUser* user = hotsync::PalmDesktopPath.currentUser;
    if (user == nullptr) return TemporaryFilePath(baseName, ".pdb");
    return std::string(hotsync::PalmDesktopPath.path) + "\\" + user->folderName + "\\INSTALL\\" + baseName + ".pdb";
}

// Reports a text file that could not be created or written whole.
int FailTextFile(const char* textPath) {
    host::FailureCode = host::kTextFileFailed;
    host::ShowErrorBox(strings::kCannotCreateTempFile, textPath);
    return 0;
}

// The messages selected in the host's current folder, one text at a time.
class HostSelection : public MessageSource {
public:
    bool Next(const char*& text) override {
        position_ = host::HostApi.CXA_GetNextMessagePath(position_, messagePath_, host::kSelectedMessages);
        if (position_ == host::kNoPosition) return false;
        text = host::HostApi.CXA_GetMessage(messagePath_);
        return true;
    }
    void Release() override { host::HostApi.CXA_ReleaseCoraxBuffer(); }

private:
    int32_t position_ = host::kNoPosition;
    char messagePath_[host::kPathBufferSize];
};

}  // namespace

bool MakeTextPath(const char* baseName, char* out) {
    const std::string path = TemporaryFilePath(baseName, ".txt");
    if (path.size() >= host::kPathBufferSize) return false;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return true;
}

int ConvertToDoc(const char* baseName, const char* textPath, const char* indexText,
                 const palmdoc::Bookmarks& bookmarks) {
    char pdbPath[host::kPathBufferSize];
    // Forming the path may name it in LastOutputPath; a failed conversion
    // must leave the report naming the last document that exists.
    char previousOutput[host::kLastOutputPathSize];
    std::memcpy(previousOutput, host::LastOutputPath, sizeof previousOutput);
    if (!hotsync::MakePdbPath(baseName, pdbPath)) {
        host::FailureCode = host::kConversionFailed;
        host::ShowErrorBox(strings::kConversionFailed, IntendedPdbPath(baseName).c_str());
        return 0;
    }
    if (palmdoc::WritePalmDoc(textPath, pdbPath, baseName, indexText, bookmarks) != palmdoc::kWritePalmDocSucceeded) {
        std::memcpy(host::LastOutputPath, previousOutput, sizeof previousOutput);
        host::FailureCode = host::kConversionFailed;
        host::ShowErrorBox(strings::kConversionFailed, pdbPath);
        platform::Files.remove(pdbPath);
        return 0;
    }
    hotsync::RaiseInstallFlag(hotsync::PalmDesktopPath);
    platform::Files.remove(textPath);
    return 1;
}

int ExportFolder(const char* folderPath) {
    char baseName[kBaseNameSize];
    BaseName named = MakeBaseName(folderPath, baseName);
    if (named == BaseName::None) return 0;
    // The report names the document by its base name: it must fit whole.
    if (named != BaseName::TooLong && std::strlen(baseName) >= host::kLastOutputPathSize) named = BaseName::TooLong;

    const int32_t count = host::HostApi.CXA_GetMessageCount(host::kSelectedMessages);
    if (count == 0 || count < settings::PluginSettings.MinUnread) return 0;

    char textPath[host::kPathBufferSize];
    if (named == BaseName::TooLong || !MakeTextPath(baseName, textPath)) {
        const std::string name = named == BaseName::TooLong ? FolderFileName(folderPath) : baseName;
        return FailTextFile(TemporaryFilePath(name, ".txt").c_str());
    }
    if (!settings::PluginSettings.ConvToDoc && std::strlen(textPath) >= host::kLastOutputPathSize) {
        return FailTextFile(textPath);
    }
    HostSelection selection;
    palmdoc::Bookmarks bookmarks;
    // A text file that could not be written whole is gone, and the messages
    // stay unread for the next export.
    if (WriteExportText(textPath, selection, &bookmarks) != ExportText::Written) return FailTextFile(textPath);

    int produced;
    if (settings::PluginSettings.ConvToDoc) {
        const char* indexText = settings::PluginSettings.MeDocIndex ? text::MeDocIndexBuffer.text : nullptr;
        produced = ConvertToDoc(baseName, textPath, indexText, bookmarks);
        // With no install user the path was named already; with one, the
        // report names the document by its base name.
        if (produced && hotsync::PalmDesktopPath.currentUser != nullptr) host::SetLastOutputPath(baseName);
    } else {
        host::SetLastOutputPath(textPath);  // fits: checked before the file was made
        produced = 1;
    }
    text::ReleaseMeDocIndex();
    // Only a folder whose output exists is marked read, so that a failed
    // export is picked up again by the next one.
    if (produced && settings::PluginSettings.DoRead) host::HostApi.CXA_RunMacro(kDoReadMacro);
    return produced;
}

}  // namespace exporter
