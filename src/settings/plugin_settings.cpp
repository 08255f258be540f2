#include "settings/plugin_settings.h"

SettingsRecord PluginSettings = {};
