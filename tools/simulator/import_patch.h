// Redirects a function that a loaded module imports, so that the simulator
// can watch what the plug-in hands to the system without the plug-in knowing.
#pragma once

#include <windows.h>

// Points every import slot of module that holds original at replacement.
// False when the module imports no such function.
bool ReplaceImport(HMODULE module, FARPROC original, FARPROC replacement);
