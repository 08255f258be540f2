#include "host/error_box.h"

#include <string>

#include "host/host_state.h"
#include "platform/platform.h"
#include "resources/strings.h"

namespace host {

void ShowErrorBox(const char* message, const char* detail) {
    // Composed whole, whatever the detail's length: a path is never cut short.
    std::string text = message;
    if (detail != nullptr) {
        text += '\n';
        text += detail;
    }
    platform::ShowMessageBox(HostMainWindow, text.c_str(), strings::kBoxCaption,
                             platform::BoxIcon::Error);
}

}  // namespace host
