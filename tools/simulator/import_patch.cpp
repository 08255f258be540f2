#include "import_patch.h"

namespace {

template <typename T>
T* AtOffset(HMODULE module, DWORD offset) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + offset);
}

bool WriteSlot(ULONG_PTR* slot, FARPROC replacement) {
    DWORD protection = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) return false;
    *slot = reinterpret_cast<ULONG_PTR>(replacement);
    VirtualProtect(slot, sizeof *slot, protection, &protection);
    return true;
}

}  // namespace

bool ReplaceImport(HMODULE module, FARPROC original, FARPROC replacement) {
    if (module == nullptr || original == nullptr) return false;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
    const auto* nt = AtOffset<const IMAGE_NT_HEADERS>(module, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return false;
    bool replaced = false;
    // The loader has filled each bound slot with the address it resolved,
    // so the slots are found by that address rather than by name.
    for (auto* entry = AtOffset<IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress); entry->Name != 0;
         ++entry) {
        for (auto* slot = AtOffset<ULONG_PTR>(module, entry->FirstThunk); *slot != 0; ++slot) {
            if (*slot == reinterpret_cast<ULONG_PTR>(original))
                replaced = WriteSlot(slot, replacement) || replaced;
        }
    }
    return replaced;
}
