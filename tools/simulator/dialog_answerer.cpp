#include "dialog_answerer.h"

#include "transcript.h"

void AnswerDialog(HWND dialog, const std::string& owner, const std::string& caption) {
    Log(JsonLine("dialog").Text("caption", caption).Utf8("owner", owner));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}
