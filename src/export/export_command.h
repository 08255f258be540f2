// The two export commands of the menu, the walk over the folders below, and
// the one box that tells the user the outcome.
#pragma once

namespace exporter {

enum class ExportMode { Unread = 0, Selection = 1 };

void RunExportCommand(ExportMode mode);

// 1 when the host named a current folder, 0 when the fallback was taken.
int GetCurrentFolderPath(char* path);
int ExportUnread(const char* folderPath);
// Turns folderPath into the search pattern; returns the folders exported.
int ExportSubfolders(char* folderPath);
// False for a listed path that names no folder below "Account".
bool OpenFolderByMacro(const char* listedPath);
void ReportResult(int exported);

}  // namespace exporter
