#include "export/export_command.h"

void RunExportCommand(ExportMode) {}
