#include <windows.h>

#include "shell/library_entry.h"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    return OnLibraryEntry(module, reason) ? TRUE : FALSE;
}
