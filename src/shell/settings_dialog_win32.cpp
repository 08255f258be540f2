#include "shell/settings_dialog.h"

#include <windows.h>

#include <cstdio>

#include "host/host_state.h"
#include "hotsync/install_queue.h"
#include "hotsync/palm_desktop.h"
#include "resources/dialog_ids.h"
#include "resources/strings.h"
#include "settings/plugin_settings.h"
#include "settings/settings_store.h"

namespace shell {

namespace {

constexpr char kTemplateName[] = "PROPDLG";
constexpr int kEndedByOk = IDOK;
constexpr int kEndedByCancel = IDCANCEL;
// The minimum-count field is read into 64 bytes: 63 characters at most.
constexpr int kMinUnreadTextSize = 64;
// "%d" of any 32-bit value and its terminator.
constexpr int kNumberTextSize = 16;
// The combo box's entry for "no install user"; the users follow from 1 on.
constexpr WPARAM kNoInstallUserPosition = 0;

struct CheckBoxSetting {
    int controlId;
    int32_t settings::SettingsRecord::*field;
};

constexpr CheckBoxSetting kCheckBoxes[] = {
    {IDC_DO_READ, &settings::SettingsRecord::DoRead},
    {IDC_MEDOC_INDEX, &settings::SettingsRecord::MeDocIndex},
    {IDC_TRIM_SUBJECT, &settings::SettingsRecord::TrimSubject},
    {IDC_SUB_FOLDER, &settings::SettingsRecord::SubFolder},
    {IDC_DECODE_MIME, &settings::SettingsRecord::DecodeMime},
    {IDC_BOOKMARKS, &settings::SettingsRecord::Bookmarks},
};

void FillUserList(HWND dialog) {
    const HWND combo = GetDlgItem(dialog, IDC_INSTALL_USER);
    SendMessageA(combo, CB_INSERTSTRING, kNoInstallUserPosition,
                 reinterpret_cast<LPARAM>(strings::kNoInstallUser));
    for (int32_t position = 1; position <= hotsync::PalmUserList.count; ++position) {
        SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(position),
                     reinterpret_cast<LPARAM>(hotsync::PalmUserList.entries[position - 1].name));
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(settings::PluginSettings.InstallUser), 0);
}

void ShowSettings(HWND dialog) {
    for (const CheckBoxSetting& box : kCheckBoxes) {
        // Any non-zero value is on; a plain check box knows only 1 and 0.
        const WPARAM state = settings::PluginSettings.*box.field != 0 ? BST_CHECKED : BST_UNCHECKED;
        SendMessageA(GetDlgItem(dialog, box.controlId), BM_SETCHECK, state, 0);
    }
    FillUserList(dialog);
    char number[kNumberTextSize];
    std::snprintf(number, sizeof number, "%d", static_cast<int>(settings::PluginSettings.MinUnread));
    SetDlgItemTextA(dialog, IDC_MIN_UNREAD, number);
}

void TakeSettings(HWND dialog) {
    for (const CheckBoxSetting& box : kCheckBoxes) {
        settings::PluginSettings.*box.field = IsDlgButtonChecked(dialog, box.controlId) == BST_CHECKED ? 1 : 0;
    }
    char text[kMinUnreadTextSize] = "";
    GetDlgItemTextA(dialog, IDC_MIN_UNREAD, text, kMinUnreadTextSize);
    settings::PluginSettings.MinUnread = settings::ParseIniInteger(text);
    // -1 when nothing is selected; the selection below makes that 0.
    settings::PluginSettings.InstallUser =
        static_cast<int32_t>(SendMessageA(GetDlgItem(dialog, IDC_INSTALL_USER), CB_GETCURSEL, 0, 0));
    hotsync::SelectInstallUser();
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            ShowSettings(dialog);
            // The platform then focuses the first control with a tab stop.
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    TakeSettings(dialog);
                    EndDialog(dialog, kEndedByOk);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, kEndedByCancel);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

int ShowSettingsDialog() {
    return static_cast<int>(DialogBoxParamA(static_cast<HINSTANCE>(host::ModuleHandle), kTemplateName,
                                            static_cast<HWND>(host::HostMainWindow), SettingsDialogProc, 0));
}

}  // namespace shell
