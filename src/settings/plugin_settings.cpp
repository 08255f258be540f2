#include "settings/plugin_settings.h"

namespace settings {

SettingsRecord PluginSettings = {};

}  // namespace settings
