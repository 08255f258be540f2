"""The oldest Windows the shipped DLL is for: 98, 2000 and XP. What it may
import is what each of them exports, so that it loads on all three; a new
import, or a newer toolchain's runtime, has to be looked up and added here
first."""

# Operating system and subsystem version (major, minor, major, minor): 4.0,
# which every 32-bit Windows since 95 and NT 4.0 loads.
OLDEST_VERSIONS = (4, 0, 4, 0)

EXPORTS = ["CXH_OnCmdProc", "CXH_OnHandleEvent"]

ALLOWED_IMPORTS = {
    # Microsoft's Win32 reference, each function's requirements: Windows 95 and
    # NT 3.1 on. The wide functions are there on Windows 98 and Me as stubs
    # that fail with ERROR_CALL_NOT_IMPLEMENTED (the Microsoft Layer for
    # Unicode's list): the library loads, and the callers take the failure.
    "KERNEL32.DLL": {
        "CloseHandle", "CreateSemaphoreW", "DeleteCriticalSection", "EnterCriticalSection", "FreeLibrary",
        "GetCPInfo", "GetCurrentThreadId", "GetEnvironmentVariableA", "GetEnvironmentVariableW", "GetLastError",
        "GetLocalTime", "GetModuleFileNameA", "GetModuleFileNameW", "GetModuleHandleA", "GetModuleHandleW",
        "GetPrivateProfileStringA", "GetProcAddress", "GetShortPathNameW", "GetTempPathA", "GetTempPathW",
        "InitializeCriticalSection", "IsDBCSLeadByteEx", "IsValidCodePage", "LeaveCriticalSection", "LoadLibraryA",
        "LoadLibraryW", "MultiByteToWideChar", "ReleaseSemaphore", "SetLastError", "Sleep", "TlsAlloc", "TlsFree",
        "TlsGetValue", "TlsSetValue", "VirtualProtect", "VirtualQuery", "WaitForSingleObject", "WideCharToMultiByte",
        "WritePrivateProfileStringA",
    },
    # The same reference: Windows 95 and NT 3.1 on (RegQueryValueExW a stub on
    # Windows 98 and Me, as above).
    "USER32.DLL": {
        "AppendMenuA", "DialogBoxParamA", "EndDialog", "GetDlgItem", "GetDlgItemTextA", "IsDlgButtonChecked",
        "MessageBoxA", "SendMessageA", "SetDlgItemTextA",
    },
    "ADVAPI32.DLL": {"RegCloseKey", "RegOpenKeyExA", "RegQueryValueExA", "RegQueryValueExW", "RegSetValueExA"},
    # InitCommonControls by its number, 17, which every COMCTL32 since
    # Windows 95 exports (see cmake/comctl32_ordinal.def).
    "COMCTL32.DLL": {"#17"},
    # The C runtime of Visual C++ 6.0, msvcrt.dll, which Windows 98 SE, 2000
    # and XP ship (Windows 98 with Internet Explorer 4, an earlier one with
    # the same names); mingw-w64's own startup and exit code take these.
    "MSVCRT.DLL": {
        "__mb_cur_max", "_amsg_exit", "_close", "_errno", "_initterm", "_iob", "_lock", "_read", "_unlock", "abort",
        "atoi", "calloc", "fclose", "fflush", "fopen", "fputc", "fputs", "fread", "free", "fseek", "ftell",
        "fwrite", "getc", "localeconv", "malloc", "memchr", "memcmp", "memcpy", "memmove", "memset", "realloc",
        "remove", "rename", "setlocale", "strchr", "strcmp", "strerror", "strlen", "strncmp", "strrchr", "strstr",
        "ungetc", "vfprintf", "wcslen",
    },
}
