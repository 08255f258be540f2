// The native build has no dialogs: the tests see that the command asked for one.
#include "platform/fake_platform.h"
#include "shell/settings_dialog.h"

namespace shell {

int ShowSettingsDialog() {
    platform::fake_platform::Fake().calls.push_back("ShowSettingsDialog");
    return 2;
}

}  // namespace shell
