#include "dialog_answerer.h"

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "import_patch.h"
#include "sim_state.h"
#include "transcript.h"
#include "window_picture.h"

namespace {

constexpr char kOpeningSeparator = ';';
constexpr char kStepSeparator = ',';
constexpr UINT_PTR kStepTimer = 1;
constexpr UINT kDefaultWaitMilliseconds = 500;
constexpr int kTextSize = 4096;

// What the answerer knows of one open dialog.
struct OpenDialog {
    WNDPROC originalProcedure = nullptr;
    std::vector<std::string> steps;
    size_t nextStep = 0;
    bool ended = false;
    INT_PTR result = 0;
};

std::map<HWND, OpenDialog> openDialogs;
int openings = 0;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::vector<std::string> StepsOfOpening(int opening) {
    const std::string& script = Simulator().options.dialog;
    if (script.empty()) return {};
    const std::vector<std::string> scripts = Split(script, kOpeningSeparator);
    if (static_cast<size_t>(opening) >= scripts.size() || scripts[opening].empty()) return {};
    return Split(scripts[opening], kStepSeparator);
}

// --- What the dialog shows ---------------------------------------------

std::string WindowText(HWND window) {
    char text[kTextSize] = "";
    GetWindowTextA(window, text, kTextSize);
    return text;
}

std::string Quoted(const std::string& cp932Text) { return JsonQuote(Cp932ToUtf8(cp932Text)); }

bool IsCheckBox(LONG style) {
    switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return true;
        default:
            return false;
    }
}

std::string ComboItems(HWND combo) {
    std::string items = "[";
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT position = 0; position < count; ++position) {
        const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, position, 0);
        std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
        SendMessageA(combo, CB_GETLBTEXT, position, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(length > 0 ? static_cast<size_t>(length) : 0);
        if (position > 0) items += ",";
        items += Quoted(text);
    }
    return items + "]";
}

std::string DescribeControl(HWND control) {
    char className[64] = "";
    GetClassNameA(control, className, sizeof className);
    const std::string kind = className;
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    std::string json = "{\"id\":" + std::to_string(GetDlgCtrlID(control)) + ",\"class\":" + JsonQuote(kind) +
                       ",\"text\":" + Quoted(WindowText(control));
    if (lstrcmpiA(className, "Button") == 0 && IsCheckBox(style)) {
        json += ",\"check\":" + std::to_string(SendMessageA(control, BM_GETCHECK, 0, 0));
    }
    if (lstrcmpiA(className, "ComboBox") == 0) {
        json += ",\"items\":" + ComboItems(control) +
                ",\"selection\":" + std::to_string(SendMessageA(control, CB_GETCURSEL, 0, 0));
    }
    return json + "}";
}

// The dialog's own controls in creation order, which is also the tab order;
// the combo box's inner edit field is a grandchild and not listed.
std::string DescribeControls(HWND dialog) {
    std::string json = "[";
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        if (json.size() > 1) json += ",";
        json += DescribeControl(control);
    }
    return json + "]";
}

// --- How the dialog ends -------------------------------------------------

// Stands in for EndDialog in the plug-in's imports: the end code the plug-in
// chooses is what DialogBoxParam will return to it.
BOOL WINAPI RecordingEndDialog(HWND dialog, INT_PTR result) {
    const auto found = openDialogs.find(dialog);
    if (found != openDialogs.end()) {
        found->second.ended = true;
        found->second.result = result;
    }
    return EndDialog(dialog, result);
}

void WatchEndDialog() {
    static bool watching = false;
    if (watching) return;
    const FARPROC endDialog = GetProcAddress(GetModuleHandleA("user32.dll"), "EndDialog");
    watching = ReplaceImport(Simulator().plugin, endDialog,
                             reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&RecordingEndDialog)));
}

// --- The script ----------------------------------------------------------

void Press(HWND dialog, int button) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }

void LogStepError(const std::string& step, const char* problem) {
    Log(JsonLine("dialog-error").Text("step", step).Utf8("problem", problem));
}

// "ID=VALUE" of a control step; false when malformed.
bool ControlAndValue(const std::string& argument, int& id, std::string& value) {
    const size_t equals = argument.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    char* end = nullptr;
    id = static_cast<int>(std::strtol(argument.c_str(), &end, 10));
    if (end != argument.c_str() + equals) return false;
    value = argument.substr(equals + 1);
    return true;
}

enum class StepOutcome { Next, Pause, Closed, Failed };

StepOutcome ApplyStep(HWND dialog, const std::string& step) {
    const size_t colon = step.find(':');
    const std::string verb = step.substr(0, colon);
    const std::string argument = colon == std::string::npos ? "" : step.substr(colon + 1);
    if (verb == "ok" || verb == "cancel") {
        Press(dialog, verb == "ok" ? IDOK : IDCANCEL);
        return StepOutcome::Closed;
    }
    if (verb == "wait") {
        const UINT milliseconds = argument.empty()
                                      ? kDefaultWaitMilliseconds
                                      : static_cast<UINT>(std::strtoul(argument.c_str(), nullptr, 10));
        return SetTimer(dialog, kStepTimer, milliseconds, nullptr) != 0 ? StepOutcome::Pause
                                                                        : StepOutcome::Failed;
    }
    if (verb == "screenshot") {
        const bool saved = !argument.empty() && SaveWindowPicture(dialog, argument);
        Log(JsonLine("screenshot").Text("path", argument).Bool("ok", saved));
        return StepOutcome::Next;
    }
    int id = 0;
    std::string value;
    if (!ControlAndValue(argument, id, value)) return StepOutcome::Failed;
    const HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) return StepOutcome::Failed;
    if (verb == "check") {
        SendMessageA(control, BM_SETCHECK, std::atoi(value.c_str()) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    } else if (verb == "edit") {
        SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
    } else if (verb == "combo") {
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(std::atoi(value.c_str())), 0);
    } else {
        return StepOutcome::Failed;
    }
    return StepOutcome::Next;
}

// Runs the steps from where the script stands until it pauses or closes the
// dialog; a failed step or the script's end cancels, so a run never hangs.
void RunSteps(HWND dialog) {
    OpenDialog& state = openDialogs[dialog];
    while (state.nextStep < state.steps.size()) {
        const std::string& step = state.steps[state.nextStep++];
        switch (ApplyStep(dialog, step)) {
            case StepOutcome::Next:
                continue;
            case StepOutcome::Pause:
                return;
            case StepOutcome::Closed:
                state.nextStep = state.steps.size();
                return;
            case StepOutcome::Failed:
                LogStepError(step, "not understood or no such control");
                state.nextStep = state.steps.size();
                Press(dialog, IDCANCEL);
                return;
        }
    }
    Press(dialog, IDCANCEL);
}

void LogEnd(const OpenDialog& state) {
    JsonLine line("dialog-end");
    if (state.ended)
        line.Number("result", state.result);
    else
        line.Raw("result", "null");
    Log(line);
}

// Stands between the dialog and its own window procedure: brings the script
// back when a wait is over, and logs the end once the window is gone.
LRESULT CALLBACK WatchingDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto found = openDialogs.find(dialog);
    if (found == openDialogs.end()) return DefWindowProcA(dialog, message, wParam, lParam);
    const WNDPROC original = found->second.originalProcedure;
    if (message == WM_TIMER && wParam == kStepTimer) {
        KillTimer(dialog, kStepTimer);
        RunSteps(dialog);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        LogEnd(found->second);
        openDialogs.erase(found);
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
    return CallWindowProcA(original, dialog, message, wParam, lParam);
}

}  // namespace

void AnswerDialog(HWND dialog, const std::string& owner, const std::string& caption) {
    Log(JsonLine("dialog")
            .Text("caption", caption)
            .Utf8("owner", owner)
            .Raw("controls", DescribeControls(dialog)));
    WatchEndDialog();
    OpenDialog& state = openDialogs[dialog];
    state.steps = StepsOfOpening(openings++);
    state.originalProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchingDialogProcedure)));
    RunSteps(dialog);
}
