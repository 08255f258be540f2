#pragma once

#include <string>

namespace platform {

// The folder for the export's files: the value of "TMP" as the process sees
// it now, or the Windows temporary directory when "TMP" is unset.
std::string TemporaryFolder();

}  // namespace platform
