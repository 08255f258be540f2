// A picture of a window as it stands on the screen, for the README and for
// looking at a dialog without a person at the machine.
#pragma once

#include <string>

#include <windows.h>

// Writes the window, frame included, as a 24-bit BMP file. False when the
// window could not be copied or the file not written.
bool SaveWindowPicture(HWND window, const std::string& path);
