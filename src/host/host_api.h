// The Corax host's exported functions, resolved by name from the running
// executable. This header is shared by the plug-in and by the host simulator,
// so both sides agree on the calling form declared here.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define CORAX_CALL __stdcall
#else
#define CORAX_CALL
#endif

namespace host {

using Window = void*;
using Module = void*;

// The host paths handed to the plug-in fill buffers of this size.
constexpr int kPathBufferSize = 264;
// CXA_ListUpFiles fills a buffer of this size.
constexpr int kFolderListSize = 4096;
// End mark of CXA_GetNextMessagePath, and the position before the first one.
constexpr int32_t kNoPosition = -1;
// The "selected messages" argument of the message enumeration.
constexpr int32_t kSelectedMessages = 1;

using GetTempIdFn = int32_t(CORAX_CALL*)(Module module, int32_t command);
using GetStaticWindowsFn = void(CORAX_CALL*)(Window* main, Window* second, Window* third,
                                            Window* fourth, Window* fifth);
using GetCurrentCtxpathFn = void(CORAX_CALL*)(char* path);
using GetAindexFolderPathFn = void(CORAX_CALL*)(int32_t context, char* path);
using ListUpFilesFn = int32_t(CORAX_CALL*)(const char* pattern, char* buffer, int32_t size);
using NoArgumentFn = void(CORAX_CALL*)();
using RunMacroFn = int32_t(CORAX_CALL*)(const char* statement);
using GetMessageCountFn = int32_t(CORAX_CALL*)(int32_t selected);
using GetNextMessagePathFn = int32_t(CORAX_CALL*)(int32_t position, char* path, int32_t selected);
using GetMessageFn = const char*(CORAX_CALL*)(const char* path);
// The host functions the plug-in never calls only have to be present.
using UnusedFn = void(CORAX_CALL*)();

// X(name, pointer type), in the table's order.
#define CORAX_HOST_FUNCTIONS(X)                              \
    X(CXA_AppendMessage, UnusedFn)                           \
    X(CXA_MakeLoginURLEncoding, UnusedFn)                    \
    X(CXA_ReceiveArticleBbs, UnusedFn)                       \
    X(CXA_GetWebDataEx, UnusedFn)                            \
    X(CXA_ReleaseCoraxBuffer, NoArgumentFn)                  \
    X(CXA_DispMessageOnStatusBar, UnusedFn)                  \
    X(CXA_WebLogin, UnusedFn)                                \
    X(CXA_GetAindexFolderPath, GetAindexFolderPathFn)        \
    X(CXA_ListUpFiles, ListUpFilesFn)                        \
    X(CXA_ListUpAllFiles, UnusedFn)                          \
    X(CXA_GetLayoutParam, UnusedFn)                          \
    X(CXA_SetLayoutParam, UnusedFn)                          \
    X(CXA_GetListColumnWidth, UnusedFn)                      \
    X(CXA_SetListColumnWidth, UnusedFn)                      \
    X(CXA_SetListColumnName, UnusedFn)                       \
    X(CXA_GetCurrentCtxpath, GetCurrentCtxpathFn)            \
    X(CXA_OpenTheUrl, UnusedFn)                              \
    X(CXA_ConvUtf8ToSjis, UnusedFn)                          \
    X(CXA_GetTempID, GetTempIdFn)                            \
    X(CXA_GetPointedUrl, UnusedFn)                           \
    X(CXA_GetPointedMailAdr, UnusedFn)                       \
    X(CXA_GetPointedMessageId, UnusedFn)                     \
    X(CXA_GetMessageCount, GetMessageCountFn)                \
    X(CXA_GetNextMessagePath, GetNextMessagePathFn)          \
    X(CXA_GetMessage, GetMessageFn)                          \
    X(CXA_ReplaceMessage, UnusedFn)                          \
    X(CXA_ReDispListAndView, NoArgumentFn)                   \
    X(CXA_SelectMessage, UnusedFn)                           \
    X(CXA_CopyMessage, UnusedFn)                             \
    X(CXA_MoveMessage, UnusedFn)                             \
    X(CXA_DeleteMessage, UnusedFn)                           \
    X(CXA_OpenAllThread, NoArgumentFn)                       \
    X(CXA_CloseAllThread, NoArgumentFn)                      \
    X(CXA_CompactCurrentFolder, UnusedFn)                    \
    X(CXA_GetStaticWindows, GetStaticWindowsFn)              \
    X(CXA_GetTempWindows, UnusedFn)                          \
    X(CXA_RunMacro, RunMacroFn)                              \
    X(CXA_GetCurAdrInfo, UnusedFn)                           \
    X(CXA_SetCurAdrInfo, UnusedFn)                           \
    X(CXA_GetAttachPaths, UnusedFn)                          \
    X(CXA_AppendAttachPaths, UnusedFn)                       \
    X(CXA_DeleteAttachPath, UnusedFn)                        \
    X(CXA_GetEditCount, UnusedFn)                            \
    X(CXA_GetEditText, UnusedFn)                             \
    X(CXA_SetEditText, UnusedFn)                             \
    X(CXA_IsCommunicatingNow, UnusedFn)                      \
    X(CXA_GetCoraxVersion, UnusedFn)

struct HostFunctionTable {
#define CORAX_HOST_FIELD(name, type) type name;
    CORAX_HOST_FUNCTIONS(CORAX_HOST_FIELD)
#undef CORAX_HOST_FIELD
};

constexpr int kHostFunctionCount = 47;

// The names in the table's order.
extern const char* const kHostFunctionNames[kHostFunctionCount];

// Filled at every call of the entry routine.
extern HostFunctionTable HostApi;

// Looks every name up through platform::FindHostExport, in the table's order.
// Returns false at the first missing name; the table is then incomplete.
bool ResolveHostApi();

}  // namespace host
