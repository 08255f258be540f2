// Sees every message box and dialog the plug-in opens on this thread, logs
// it and answers it, so that no person is needed.
#pragma once

void InstallBoxAnswerer();
void RemoveBoxAnswerer();
