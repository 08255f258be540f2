// A Corax host for native tests: folders of messages in memory, the selection
// and the macros acting on them as the host's would, and a log of every call
// the plug-in makes. Install() fills HostApi with it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fake_host {

struct Message {
    std::optional<std::string> text;  // none: the host gives no text for it
    bool unread = true;
    bool selected = false;
};

struct State {
    // Full folder file paths ("C:\Mail\Account\main\inbox.ctx") to messages.
    std::map<std::string, std::vector<Message>> folders;
    std::string current;   // CXA_GetCurrentCtxpath; empty: no current folder
    std::string fallback;  // CXA_GetAindexFolderPath's answer
    std::vector<std::string> listed;        // CXA_ListUpFiles, in order
    std::optional<int32_t> listResult;      // overrides the listed count
    std::optional<int32_t> messageCount;    // overrides the selected count
    void* mainWindow = reinterpret_cast<void*>(0x1000);
    // Runs before each macro takes effect, so that a test can change the
    // world between folders.
    std::function<void(const std::string& macro)> beforeMacro;

    // Every host call, e.g. "CXA_RunMacro DoRead();", in order.
    std::vector<std::string> calls;
    int heldTexts = 0;         // texts given and not yet released
    int contractFaults = 0;    // a text fetched while another was held, etc.
};

State& Host();
// A fresh state and every table entry pointing at this host.
void Install();

// Messages of folder marked read.
int ReadCount(const std::string& folder);

}  // namespace fake_host
