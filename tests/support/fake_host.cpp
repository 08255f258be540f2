#include "support/fake_host.h"

#include <cstdio>
#include <cstring>

#include "host/host_api.h"

using host::HostApi;

namespace fake_host {
namespace {

State state;
// Message paths are "<folder>#<index>", as the simulator names them.
constexpr char kMessageMark = '#';
constexpr char kOpenFolderPrefix[] = "OpenThisFolder(\"";
constexpr char kAccountDirectory[] = "Account\\";
std::string heldText;

void Log(const std::string& call) { state.calls.push_back(call); }

void CopyOut(const std::string& text, char* out) {
    std::memcpy(out, text.c_str(), text.size() + 1);
}

std::vector<Message>* Current() {
    auto found = state.folders.find(state.current);
    return found == state.folders.end() ? nullptr : &found->second;
}

void CORAX_CALL GetStaticWindows(host::Window* main, host::Window* second, host::Window* third,
                                 host::Window* fourth, host::Window* fifth) {
    Log("CXA_GetStaticWindows");
    *main = state.mainWindow;
    *second = *third = *fourth = *fifth = nullptr;
}

void CORAX_CALL GetCurrentCtxpath(char* path) {
    Log("CXA_GetCurrentCtxpath");
    CopyOut(state.current, path);
}

void CORAX_CALL GetAindexFolderPath(int32_t context, char* path) {
    Log("CXA_GetAindexFolderPath " + std::to_string(context));
    CopyOut(state.fallback, path);
}

int32_t CORAX_CALL ListUpFiles(const char* pattern, char* buffer, int32_t size) {
    Log(std::string("CXA_ListUpFiles ") + pattern);
    int32_t used = 0;
    for (const std::string& path : state.listed) {
        if (used + static_cast<int32_t>(path.size()) + 1 > size) break;
        std::memcpy(buffer + used, path.c_str(), path.size() + 1);
        used += static_cast<int32_t>(path.size()) + 1;
    }
    return state.listResult ? *state.listResult : static_cast<int32_t>(state.listed.size());
}

void CORAX_CALL OpenAllThread() { Log("CXA_OpenAllThread"); }
void CORAX_CALL CloseAllThread() { Log("CXA_CloseAllThread"); }
void CORAX_CALL ReDispListAndView() { Log("CXA_ReDispListAndView"); }

void OpenFolder(const std::string& relative) {
    for (auto& [path, messages] : state.folders) {
        const std::string suffix = kAccountDirectory + relative;
        if (path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0) {
            state.current = path;
            return;
        }
    }
}

int32_t CORAX_CALL RunMacro(const char* statement) {
    const std::string macro = statement;
    Log("CXA_RunMacro " + macro);
    if (state.beforeMacro) state.beforeMacro(macro);
    std::vector<Message>* messages = Current();
    if (macro == "SelectAllUnreadMessage();" && messages != nullptr) {
        for (Message& message : *messages) message.selected = message.unread;
    } else if (macro == "DoRead();" && messages != nullptr) {
        for (Message& message : *messages) {
            if (message.selected) message.unread = false;
        }
    } else if (macro.rfind(kOpenFolderPrefix, 0) == 0 && macro.size() > sizeof kOpenFolderPrefix + 2) {
        OpenFolder(macro.substr(sizeof kOpenFolderPrefix - 1, macro.size() - (sizeof kOpenFolderPrefix - 1) - 3));
    }
    return 1;
}

int32_t CORAX_CALL GetMessageCount(int32_t selected) {
    Log("CXA_GetMessageCount " + std::to_string(selected));
    if (state.messageCount) return *state.messageCount;
    int32_t count = 0;
    if (std::vector<Message>* messages = Current()) {
        for (const Message& message : *messages) count += message.selected ? 1 : 0;
    }
    return count;
}

int32_t CORAX_CALL GetNextMessagePath(int32_t position, char* path, int32_t) {
    std::vector<Message>* messages = Current();
    if (messages == nullptr) return host::kNoPosition;
    for (int32_t next = position + 1; next < static_cast<int32_t>(messages->size()); ++next) {
        if ((*messages)[next].selected) {
            CopyOut(state.current + kMessageMark + std::to_string(next), path);
            return next;
        }
    }
    return host::kNoPosition;
}

const char* CORAX_CALL GetMessage(const char* path) {
    if (state.heldTexts != 0) ++state.contractFaults;
    const char* mark = std::strrchr(path, kMessageMark);
    auto folder = mark == nullptr ? state.folders.end() : state.folders.find(std::string(path, mark));
    if (folder == state.folders.end()) return nullptr;
    const Message& message = folder->second.at(static_cast<size_t>(std::atoi(mark + 1)));
    if (!message.text) return nullptr;
    heldText = *message.text;
    ++state.heldTexts;
    return heldText.c_str();
}

void CORAX_CALL ReleaseCoraxBuffer() {
    if (state.heldTexts == 0) ++state.contractFaults;
    state.heldTexts = 0;
}

// Item identifiers the host hands out: its own range, one per command.
constexpr int32_t kFirstItemId = 40000;
constexpr int32_t kFirstCommand = 35000;

int32_t CORAX_CALL GetTempId(host::Module, int32_t command) {
    Log("CXA_GetTempID " + std::to_string(command));
    return kFirstItemId + command - kFirstCommand;
}

void CORAX_CALL Unexpected() { Log("unexpected host call"); }

}  // namespace

State& Host() { return state; }

void Install() {
    state = State{};
#define FAKE_HOST_UNUSED(name, type) HostApi.name = reinterpret_cast<host::type>(&Unexpected);
    CORAX_HOST_FUNCTIONS(FAKE_HOST_UNUSED)
#undef FAKE_HOST_UNUSED
    HostApi.CXA_GetTempID = GetTempId;
    HostApi.CXA_GetStaticWindows = GetStaticWindows;
    HostApi.CXA_GetCurrentCtxpath = GetCurrentCtxpath;
    HostApi.CXA_GetAindexFolderPath = GetAindexFolderPath;
    HostApi.CXA_ListUpFiles = ListUpFiles;
    HostApi.CXA_OpenAllThread = OpenAllThread;
    HostApi.CXA_CloseAllThread = CloseAllThread;
    HostApi.CXA_ReDispListAndView = ReDispListAndView;
    HostApi.CXA_RunMacro = RunMacro;
    HostApi.CXA_GetMessageCount = GetMessageCount;
    HostApi.CXA_GetNextMessagePath = GetNextMessagePath;
    HostApi.CXA_GetMessage = GetMessage;
    HostApi.CXA_ReleaseCoraxBuffer = ReleaseCoraxBuffer;
}

int ReadCount(const std::string& folder) {
    int read = 0;
    for (const Message& message : state.folders.at(folder)) read += message.unread ? 0 : 1;
    return read;
}

}  // namespace fake_host
