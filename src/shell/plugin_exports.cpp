#include "shell/plugin_exports.h"

#include "export/export_command.h"
#include "host/host_state.h"
#include "platform/platform.h"
#include "resources/strings.h"
#include "shell/plugin_info.h"
#include "shell/settings_dialog.h"

namespace shell {

namespace {

struct MenuEntry {
    int32_t kind;
    int32_t command;
    const char* text;
};

// Tested in this order.
constexpr MenuEntry kMenuEntries[] = {
    {kMenuKindConvertUnread, CMD_CONVERT_UNREAD, strings::kMenuConvertUnread},
    {kMenuKindConvertFolder, CMD_CONVERT_FOLDER, strings::kMenuConvertFolder},
    {kMenuKindSettings, CMD_SETTINGS, strings::kMenuSettings},
};

int32_t BuildMenu(int32_t context, int32_t kind, platform::MenuHandle menu) {
    host::MenuEventContext = context;
    for (const MenuEntry& entry : kMenuEntries) {
        if (entry.kind != kind) continue;
        // The host's results are not examined: the item counts as added.
        const int32_t itemId = host::HostApi.CXA_GetTempID(host::ModuleHandle, entry.command);
        platform::AppendMenuItem(menu, static_cast<uint32_t>(itemId), entry.text);
        return 1;
    }
    return 0;
}

}  // namespace

}  // namespace shell

extern "C" int32_t CORAX_CALL CXH_OnHandleEvent(int32_t context, int32_t event, intptr_t parameter,
                                                intptr_t data) {
    switch (event) {
        case shell::EVT_PLUGIN_INFO:
            shell::FillPluginInfo(reinterpret_cast<unsigned char*>(data));
            return 0;
        case shell::EVT_BUILD_MENU:
            return shell::BuildMenu(context, static_cast<int32_t>(parameter),
                                    reinterpret_cast<platform::MenuHandle>(data));
        default:
            return 0;
    }
}

extern "C" int32_t CORAX_CALL CXH_OnCmdProc(int32_t, int32_t command) {
    switch (command) {
        case shell::CMD_CONVERT_UNREAD:
            exporter::RunExportCommand(exporter::ExportMode::Unread);
            break;
        case shell::CMD_CONVERT_FOLDER:
            exporter::RunExportCommand(exporter::ExportMode::Selection);
            break;
        case shell::CMD_SETTINGS:
            shell::ShowSettingsDialog();
            break;
        default:
            break;
    }
    return 0;
}
