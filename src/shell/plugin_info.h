// The host's information record, which the plug-in fills.
#pragma once

#include <cstddef>

namespace shell {

namespace plugin_info {

constexpr size_t kKindOffset = 0;
constexpr int kKindValue = 10;
constexpr size_t kNameOffset = 4;
constexpr size_t kVersionOffset = 104;
constexpr size_t kReleaseDateOffset = 204;
constexpr size_t kAuthorOffset = 304;
constexpr size_t kAuthorMailOffset = 404;
constexpr size_t kAuthorPageOffset = 504;
constexpr size_t kDescriptionOffset = 604;
// The host's own fields, each written as an empty text.
constexpr size_t kEmptiedOffsets[] = {10844, 10944, 21184, 21284, 21384};

}  // namespace plugin_info

// Writes the record into the host's memory at record.
void FillPluginInfo(unsigned char* record);

}  // namespace shell
