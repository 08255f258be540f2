// The modal dialog "PROPDLG" in which the user chooses the Palm user and the
// options.
#pragma once

namespace shell {

// The dialog's end code: 1 after OK, 2 after Cancel.
int ShowSettingsDialog();

}  // namespace shell
