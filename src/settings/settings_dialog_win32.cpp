#include "settings/settings_dialog.h"

int ShowSettingsDialog() { return 0; }
