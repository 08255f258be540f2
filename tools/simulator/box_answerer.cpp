#include "box_answerer.h"

#include <windows.h>

#include <set>
#include <string>

#include "dialog_answerer.h"
#include "sim_state.h"
#include "transcript.h"

namespace {

// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;
// The icon's static control: Windows numbers it 0x14, Wine stc1.
constexpr int kMessageBoxIconIds[] = {0x0014, 0x0440};

HHOOK hook = nullptr;
std::set<HWND> answered;

std::string WindowText(HWND window) {
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string IconName(HWND box) {
    for (int id : kMessageBoxIconIds) {
        const HWND control = GetDlgItem(box, id);
        if (control == nullptr) continue;
        const HICON icon = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
        if (icon == nullptr) continue;
        if (icon == LoadIcon(nullptr, IDI_ERROR)) return "error";
        if (icon == LoadIcon(nullptr, IDI_INFORMATION)) return "information";
        if (icon == LoadIcon(nullptr, IDI_WARNING)) return "warning";
        if (icon == LoadIcon(nullptr, IDI_QUESTION)) return "question";
        return "other";
    }
    return "none";
}

std::string OwnerName(HWND window) {
    const HWND owner = GetWindow(window, GW_OWNER);
    if (owner == nullptr) return "none";
    return owner == Simulator().mainWindow ? "main" : "other";
}

void AnswerMessageBox(HWND box) {
    std::string text(8192, '\0');
    text.resize(GetDlgItemTextA(box, kMessageBoxTextId, &text[0], static_cast<int>(text.size())));
    Log(JsonLine("box").Text("caption", WindowText(box)).Text("text", text)
            .Utf8("icon", IconName(box)).Utf8("owner", OwnerName(box)));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK OnCbtEvent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        char className[64] = "";
        GetClassNameA(window, className, sizeof className);
        const bool isDialogClass = std::string(className) == "#32770";
        if (isDialogClass && answered.insert(window).second) {
            if (GetDlgItem(window, kMessageBoxTextId) != nullptr) {
                AnswerMessageBox(window);
            } else {
                AnswerDialog(window, OwnerName(window), WindowText(window));
            }
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

void InstallBoxAnswerer() { hook = SetWindowsHookExA(WH_CBT, OnCbtEvent, nullptr, GetCurrentThreadId()); }

void RemoveBoxAnswerer() {
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    hook = nullptr;
}
