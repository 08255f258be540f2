#pragma once

namespace host {

// The one error box: message, then detail (when given) on a second line;
// caption "CoraxToPalm", error icon, owned by HostMainWindow.
void ShowErrorBox(const char* message, const char* detail = nullptr);

}  // namespace host
