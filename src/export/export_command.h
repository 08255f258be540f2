// The two export commands of the menu.
#pragma once

enum class ExportMode { Unread = 0, Selection = 1 };

void RunExportCommand(ExportMode mode);
