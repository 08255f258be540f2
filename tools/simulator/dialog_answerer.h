// Answers a dialog (not a message box) as --dialog says.
#pragma once

#include <string>

#include <windows.h>

void AnswerDialog(HWND dialog, const std::string& owner, const std::string& caption);
