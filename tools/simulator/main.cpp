// corax-sim: plays the Corax host for the plug-in. Loads the DLL, carries out
// the --run actions in order, unloads it, and writes a JSON Lines transcript.
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "box_answerer.h"
#include "export_call.h"
#include "host/host_api.h"
#include "mail_host.h"
#include "options.h"
#include "shell/plugin_exports.h"
#include "sim_state.h"
#include "transcript.h"

namespace {


// The information record as the host lays it out; the last field is the
// host's own and 100 bytes here.
constexpr size_t kInfoRecordSize = 21384 + 100;
// What the host leaves in the record before the plug-in fills it.
constexpr unsigned char kInfoPrefill = 0xAA;
struct InfoField {
    const char* name;
    size_t offset;
};
constexpr InfoField kInfoFields[] = {
    {"name", 4},         {"version", 104},       {"date", 204},     {"author", 304},
    {"mail", 404},       {"web", 504},           {"description", 604}, {"extra1", 10844},
    {"extra2", 10944},   {"extra3", 21184},      {"extra4", 21284}, {"extra5", 21384},
};
// The item the host's menu already holds before the plug-in appends its own.
constexpr UINT kHostMenuItemId = 100;

using HandleEventFn = decltype(&CXH_OnHandleEvent);
using CommandFn = decltype(&CXH_OnCmdProc);

HandleEventFn handleEvent = nullptr;
CommandFn command = nullptr;

void SendInfoEvent() {
    std::vector<unsigned char> record(kInfoRecordSize, kInfoPrefill);
    const int32_t result = CallExport("CXH_OnHandleEvent", handleEvent, 0, shell::EVT_PLUGIN_INFO, 0,
                                      reinterpret_cast<intptr_t>(record.data()));
    int32_t kind;
    std::memcpy(&kind, record.data(), sizeof kind);
    JsonLine line("info");
    line.Number("result", result).Number("kind", kind);
    for (const InfoField& field : kInfoFields) {
        const size_t end = std::min(kInfoRecordSize, field.offset + 10240);
        const unsigned char* start = record.data() + field.offset;
        std::string text;
        for (const unsigned char* p = start; p < record.data() + end && *p != '\0'; ++p) text += static_cast<char>(*p);
        line.Text(field.name, text);
    }
    line.Utf8("record_hex", Hex(record.data(), record.size()));
    Log(line);
}

void SendMenuEvent(int kind) {
    const HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, kHostMenuItemId, "Host");
    const int32_t result = CallExport("CXH_OnHandleEvent", handleEvent, Simulator().options.context,
                                      shell::EVT_BUILD_MENU, kind, reinterpret_cast<intptr_t>(menu));
    JsonLine line("menu");
    line.Number("kind", kind).Number("result", result);
    const int count = GetMenuItemCount(menu);
    line.Number("appended", count - 1);
    for (int position = 1; position < count; ++position) {
        char text[256] = "";
        GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
        line.Number("id", GetMenuItemID(menu, position)).Text("text", text)
            .Number("state", GetMenuState(menu, position, MF_BYPOSITION));
    }
    Log(line);
    DestroyMenu(menu);
}

void SendCommand(int number) {
    Log(JsonLine("cmd").Number("command", number));
    CallExport("CXH_OnCmdProc", command, 0, number);
    Log(JsonLine("cmd-end").Number("command", number));
}

bool RunAction(const std::string& action) {
    if (action == "info") SendInfoEvent();
    else if (action.rfind("menu:", 0) == 0) SendMenuEvent(std::atoi(action.c_str() + 5));
    else if (action.rfind("cmd:", 0) == 0) SendCommand(std::atoi(action.c_str() + 4));
    else if (action == "unread") SendCommand(shell::CMD_CONVERT_UNREAD);
    else if (action == "selection") SendCommand(shell::CMD_CONVERT_FOLDER);
    else if (action == "settings") SendCommand(shell::CMD_SETTINGS);
    else return false;
    return true;
}

// The value of a path option as the command line spells it in UTF-16, so
// that a plug-in or TMP folder named beyond the ANSI code page is reached as
// a user of such a folder has it; the ANSI argv has "?" for those characters.
std::wstring WidePathOption(const wchar_t* option) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring value;
    for (int i = 1; arguments != nullptr && i + 1 < count; ++i) {
        if (std::wcscmp(arguments[i], option) == 0) value = arguments[i + 1];
    }
    LocalFree(arguments);
    return value;
}

HWND CreateMainWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "CoraxSimulatorMain";
    RegisterClassA(&windowClass);
    return CreateWindowA("CoraxSimulatorMain", "Corax (simulator)", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                         nullptr, nullptr, windowClass.hInstance, nullptr);
}

}  // namespace

SimulatorState& Simulator() {
    static SimulatorState state;
    return state;
}

int main(int argc, char** argv) {
    SimulatorState& sim = Simulator();
    std::string error;
    if (!ParseOptions(argc, argv, sim.options, error)) {
        std::fprintf(stderr, "corax-sim: %s\n", error.c_str());
        return 2;
    }
    if (!OpenTranscript(sim.options.log)) {
        std::fprintf(stderr, "corax-sim: cannot write %s\n", sim.options.log.c_str());
        return 2;
    }
    if (sim.options.setTmp) SetEnvironmentVariableW(L"TMP", WidePathOption(L"--tmp").c_str());
    if (sim.options.unsetTmp) SetEnvironmentVariableA("TMP", nullptr);
    if (!OpenMailHost(sim.options, error)) {
        std::fprintf(stderr, "corax-sim: %s\n", error.c_str());
        return 2;
    }
    sim.mainWindow = CreateMainWindow();
    InstallBoxAnswerer();

    sim.plugin = LoadLibraryW(WidePathOption(L"--plugin").c_str());
    Log(JsonLine("load").Bool("ok", sim.plugin != nullptr));
    if (sim.plugin == nullptr) {
        RemoveBoxAnswerer();
        CloseTranscript();
        return 1;
    }
    handleEvent = reinterpret_cast<HandleEventFn>(
        reinterpret_cast<void*>(GetProcAddress(sim.plugin, "CXH_OnHandleEvent")));
    command = reinterpret_cast<CommandFn>(reinterpret_cast<void*>(GetProcAddress(sim.plugin, "CXH_OnCmdProc")));
    int status = 0;
    if (handleEvent == nullptr || command == nullptr) {
        std::fprintf(stderr, "corax-sim: the plug-in lacks CXH_OnHandleEvent or CXH_OnCmdProc\n");
        status = 1;
    }
    for (const std::string& action : sim.options.actions) {
        if (status != 0) break;
        if (!RunAction(action)) {
            std::fprintf(stderr, "corax-sim: unknown action %s\n", action.c_str());
            status = 2;
        }
    }
    FreeLibrary(sim.plugin);
    Log(JsonLine("unload"));
    // Lost read marks are lost user data: the run fails.
    if (!CloseMailHost() && status == 0) status = 1;
    RemoveBoxAnswerer();
    DestroyWindow(sim.mainWindow);
    CloseTranscript();
    return status;
}
