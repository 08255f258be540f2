#pragma once

#include <cstdint>

namespace shell {

// The loader's notification reasons.
enum class LoadReason : uint32_t { ProcessDetach = 0, ProcessAttach = 1, ThreadAttach = 2, ThreadDetach = 3 };

// The entry routine's work, for every reason: stores the module, resolves
// the host's functions (false, and nothing else done, when one is missing),
// then the attach or detach work.
bool OnLibraryEntry(void* module, uint32_t reason);

}  // namespace shell
