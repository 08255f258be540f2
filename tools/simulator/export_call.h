// Calls into the plug-in as Corax does, and notes in the transcript an export
// that does not return the stack as it found it.
#pragma once

#include <cstdint>
#include <string>

#include "transcript.h"

// Corax calls the exports __stdcall: the callee pops its arguments. An export
// of another calling convention leaves the stack pointer off by their size,
// which the simulator's own frames hide and Corax's may not. x86_64 has one
// calling convention, and there nothing is measured.
template <typename Function, typename... Args>
int32_t CallExport(const char* name, Function function, Args... args) {
    uintptr_t before = 0;
    uintptr_t after = 0;
#if defined(__i386__)
    asm volatile("movl %%esp, %0" : "=r"(before) : : "memory");
#endif
    const int32_t result = function(args...);
#if defined(__i386__)
    asm volatile("movl %%esp, %0" : "=r"(after) : : "memory");
#endif
    if (before != after) {
        Log(JsonLine("violation").Utf8("what", std::string(name) + " returned with the stack pointer moved by " +
                                                   std::to_string(static_cast<intptr_t>(before - after)) + " bytes"));
    }
    return result;
}
