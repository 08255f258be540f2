// What the simulator's parts share.
#pragma once

#include <windows.h>

#include "options.h"

struct SimulatorState {
    SimulatorOptions options;
    HWND mainWindow = nullptr;
    HMODULE plugin = nullptr;
    int nextTempId = 40001;
};

SimulatorState& Simulator();
