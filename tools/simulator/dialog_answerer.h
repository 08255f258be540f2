// Answers a dialog (not a message box) as --dialog says, and logs what it
// showed and how it ended.
//
// The script holds comma-separated steps applied in order:
//   check:ID=0|1   set a check box
//   edit:ID=TEXT   set a control's text
//   combo:ID=N     select position N of a combo box (-1: none)
//   wait[:MS]      let the dialog run for MS milliseconds (default 500)
//   screenshot:P   save the dialog's picture as a BMP file at the path P
//   ok | cancel    press the button; the steps end here
// A script that ends without ok or cancel, and an unknown step, cancel.
// Scripts separated by ";" answer the first, second, ... opening; an opening
// without a script of its own is cancelled.
#pragma once

#include <string>

#include <windows.h>

void AnswerDialog(HWND dialog, const std::string& owner, const std::string& caption);
