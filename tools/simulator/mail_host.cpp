#include "mail_host.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "host/host_api.h"
#include "sim_state.h"
#include "tools/mailbox/mailbox.h"
#include "transcript.h"

namespace {

constexpr char kFolderExtension[] = ".ctx";
constexpr char kTreePattern[] = "\\*.ctx";
// A message path is its folder's file, this mark and its 1-based number.
constexpr char kMessageMark = '#';

struct Folder {
    Mailbox mailbox;
    std::vector<bool> read;       // the host's read marks, written back at unload
    std::vector<bool> selected;
    bool changed = false;
};

struct MailHost {
    std::string accounts;  // DIR\Account
    std::string fallback;
    std::string current;   // full path of the current folder's file, or empty
    std::map<std::string, std::unique_ptr<Folder>> folders;
    std::set<int> undeliverable;  // numbers in the first current folder
    std::string firstFolder;
    std::string heldText;
    bool holding = false;
} mail;

std::string FolderFile(const std::string& relative) {
    if (relative.empty() || mail.accounts.empty()) return "";
    std::string path = mail.accounts + "\\" + relative;
    const size_t extension = sizeof kFolderExtension - 1;
    if (path.size() < extension || path.compare(path.size() - extension, extension, kFolderExtension) != 0) {
        path += kFolderExtension;
    }
    return path;
}

Folder* OpenFolder(const std::string& path) {
    if (path.empty()) return nullptr;
    auto found = mail.folders.find(path);
    if (found != mail.folders.end()) return found->second.get();
    auto folder = std::make_unique<Folder>();
    std::string error;
    if (!folder->mailbox.Open(path, error)) {
        Log(JsonLine("mailbox-error").Text("folder", path).Text("error", error));
        return nullptr;
    }
    for (size_t i = 0; i < folder->mailbox.Count(); ++i) folder->read.push_back(folder->mailbox.IsRead(i));
    folder->selected.assign(folder->mailbox.Count(), false);
    return (mail.folders[path] = std::move(folder)).get();
}

Folder* Current() { return OpenFolder(mail.current); }

std::set<int> NumberList(const std::string& list) {
    std::set<int> numbers;
    for (const char* p = list.c_str(); *p != '\0';) {
        numbers.insert(std::atoi(p));
        p = std::strchr(p, ',');
        if (p == nullptr) break;
        ++p;
    }
    return numbers;
}

void ApplyInitialSelection(const std::string& select) {
    Folder* folder = Current();
    if (folder == nullptr || select == "none") return;
    const std::set<int> listed = NumberList(select);
    for (size_t i = 0; i < folder->selected.size(); ++i) {
        if (select == "all") folder->selected[i] = true;
        else if (select == "unread") folder->selected[i] = !folder->read[i];
        else folder->selected[i] = listed.count(static_cast<int>(i) + 1) != 0;
    }
}

void CopyPath(const std::string& path, char* out) {
    const size_t length = std::min(path.size(), static_cast<size_t>(host::kPathBufferSize - 1));
    std::memcpy(out, path.data(), length);
    out[length] = '\0';
}

// Every folder below directory, each before the ones below it, siblings by name.
void ListTree(const std::string& directory, std::vector<std::string>& out) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((directory + "\\*.ctx").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string file = directory + "\\" + name;
        out.push_back(file);
        ListTree(file.substr(0, file.size() - (sizeof kFolderExtension - 1)), out);
    }
}

// MoveFileEx replaces the mailbox in one step, where the C library's
// rename would refuse an existing file.
bool MoveOver(const std::string& from, const std::string& to, std::string& reason) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD code = GetLastError();
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                   nullptr);
    reason = "Windows error " + std::to_string(code) + (text[0] != '\0' ? std::string(": ") + text : "");
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    return false;
}

void MarkSelectedRead() {
    Folder* folder = Current();
    if (folder == nullptr) return;
    for (size_t i = 0; i < folder->selected.size(); ++i) {
        if (folder->selected[i] && !folder->read[i]) {
            folder->read[i] = true;
            folder->changed = true;
        }
    }
}

}  // namespace

bool OpenMailHost(const SimulatorOptions& options, std::string&) {
    if (!options.mailRoot.empty()) mail.accounts = options.mailRoot + "\\Account";
    mail.current = FolderFile(options.folder);
    mail.firstFolder = mail.current;
    mail.fallback = FolderFile(options.fallback);
    mail.undeliverable = NumberList(options.undeliverable);
    ApplyInitialSelection(options.select);
    return true;
}

bool CloseMailHost() {
    if (mail.holding) Log(JsonLine("violation").Utf8("what", "message text not released before unload"));
    bool allWritten = true;
    for (auto& entry : mail.folders) {
        Folder& folder = *entry.second;
        if (!folder.changed) continue;
        std::string error;
        const bool written = folder.mailbox.WriteReadFlags(folder.read, error, MoveOver);
        Log(JsonLine("mailbox-written").Text("folder", entry.first).Bool("ok", written).Text("error", error));
        if (!written) {
            std::fprintf(stderr, "corax-sim: %s\n", error.c_str());
            allWritten = false;
        }
    }
    mail.folders.clear();
    return allWritten;
}

void CurrentFolderPath(char* path) { CopyPath(mail.current, path); }

void FallbackFolderPath(char* path) { CopyPath(mail.fallback, path); }

int32_t ListFolders(const char* pattern, char* buffer, int32_t size) {
    if (Simulator().options.forceListResult) return Simulator().options.listResult;
    std::vector<std::string> paths = Simulator().options.listExtra;
    const std::string text = pattern;
    const size_t tree = text.size() >= sizeof kTreePattern - 1 ? text.size() - (sizeof kTreePattern - 1) : 0;
    if (text.compare(tree, std::string::npos, kTreePattern) == 0) ListTree(text.substr(0, tree), paths);
    int32_t used = 0;
    for (const std::string& path : paths) {
        if (used + static_cast<int32_t>(path.size()) + 1 > size) return -1;  // the list does not fit
        std::memcpy(buffer + used, path.c_str(), path.size() + 1);
        used += static_cast<int32_t>(path.size()) + 1;
    }
    return static_cast<int32_t>(paths.size());
}

int32_t SelectedCount() {
    Folder* folder = Current();
    if (folder == nullptr) return 0;
    return static_cast<int32_t>(std::count(folder->selected.begin(), folder->selected.end(), true));
}

int32_t NextSelected(int32_t position, char* path) {
    Folder* folder = Current();
    if (folder == nullptr) return host::kNoPosition;
    for (size_t i = position < 0 ? 0 : static_cast<size_t>(position) + 1; i < folder->selected.size(); ++i) {
        if (!folder->selected[i]) continue;
        CopyPath(mail.current + kMessageMark + std::to_string(i + 1), path);
        return static_cast<int32_t>(i);
    }
    return host::kNoPosition;
}

const char* MessageText(const char* path) {
    if (mail.holding) Log(JsonLine("violation").Utf8("what", "message text requested before the last was released"));
    const char* mark = std::strrchr(path, kMessageMark);
    if (mark == nullptr) return nullptr;
    const std::string folderPath(path, mark);
    const int number = std::atoi(mark + 1);
    Folder* folder = OpenFolder(folderPath);
    if (folder == nullptr || number < 1 || static_cast<size_t>(number) > folder->mailbox.Count()) return nullptr;
    if (folderPath == mail.firstFolder && mail.undeliverable.count(number)) return nullptr;
    std::string error;
    if (!folder->mailbox.ReadText(static_cast<size_t>(number) - 1, mail.heldText, error)) return nullptr;
    mail.holding = true;
    return mail.heldText.c_str();
}

void ReleaseMessageText() {
    if (!mail.holding) Log(JsonLine("violation").Utf8("what", "release without a message text"));
    mail.holding = false;
    mail.heldText.clear();
    mail.heldText.shrink_to_fit();
}

void RunMacro(const std::string& statement) {
    static const std::string kOpenPrefix = "OpenThisFolder(\"";
    static const std::string kOpenSuffix = "\");";
    if (statement == "SelectAllUnreadMessage();") {
        if (Folder* folder = Current()) {
            for (size_t i = 0; i < folder->selected.size(); ++i) folder->selected[i] = !folder->read[i];
        }
    } else if (statement == "DoRead();") {
        MarkSelectedRead();
    } else if (statement.size() > kOpenPrefix.size() + kOpenSuffix.size() &&
               statement.compare(0, kOpenPrefix.size(), kOpenPrefix) == 0 &&
               statement.compare(statement.size() - kOpenSuffix.size(), kOpenSuffix.size(), kOpenSuffix) == 0) {
        mail.current = FolderFile(statement.substr(kOpenPrefix.size(),
                                                   statement.size() - kOpenPrefix.size() - kOpenSuffix.size()));
        // A folder opened anew shows no selection.
        if (Folder* folder = Current()) folder->selected.assign(folder->selected.size(), false);
    }
}
