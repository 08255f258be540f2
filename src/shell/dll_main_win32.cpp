#include <windows.h>

#include "shell/library_entry.h"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    return shell::OnLibraryEntry(module, reason) ? TRUE : FALSE;
}
