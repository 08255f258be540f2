// The host's exported functions. Those the plug-in relies on play the host's
// part; the others only have to be present. Every call is logged.
#include <windows.h>

#include <cstring>
#include <type_traits>

#include "host/host_api.h"
#include "mail_host.h"
#include "sim_state.h"
#include "transcript.h"

#define CORAX_EXPORT extern "C" __declspec(dllexport)

namespace {

JsonLine Call(const char* name) { return JsonLine("call").Utf8("name", name); }

}  // namespace

CORAX_EXPORT int32_t CORAX_CALL CXA_GetTempID(void* module, int32_t command) {
    const int32_t id = Simulator().nextTempId++;
    Log(Call("CXA_GetTempID").Number("command", command)
            .Bool("own_module", module == Simulator().plugin).Number("result", id));
    return id;
}

CORAX_EXPORT void CORAX_CALL CXA_GetStaticWindows(void** main, void** second, void** third,
                                                  void** fourth, void** fifth) {
    Log(Call("CXA_GetStaticWindows"));
    *main = Simulator().mainWindow;
    for (void** other : {second, third, fourth, fifth}) *other = nullptr;
}

CORAX_EXPORT void CORAX_CALL CXA_GetCurrentCtxpath(char* path) {
    CurrentFolderPath(path);
    Log(Call("CXA_GetCurrentCtxpath").Text("result", path));
}

CORAX_EXPORT void CORAX_CALL CXA_GetAindexFolderPath(int32_t context, char* path) {
    FallbackFolderPath(path);
    Log(Call("CXA_GetAindexFolderPath").Number("context", context).Text("result", path));
}

CORAX_EXPORT int32_t CORAX_CALL CXA_ListUpFiles(const char* pattern, char* buffer, int32_t size) {
    const int32_t count = ListFolders(pattern, buffer, size);
    Log(Call("CXA_ListUpFiles").Text("pattern", pattern).Number("size", size).Number("result", count));
    return count;
}

CORAX_EXPORT void CORAX_CALL CXA_OpenAllThread() { Log(Call("CXA_OpenAllThread")); }
CORAX_EXPORT void CORAX_CALL CXA_CloseAllThread() { Log(Call("CXA_CloseAllThread")); }
CORAX_EXPORT void CORAX_CALL CXA_ReDispListAndView() { Log(Call("CXA_ReDispListAndView")); }

CORAX_EXPORT int32_t CORAX_CALL CXA_RunMacro(const char* statement) {
    Log(Call("CXA_RunMacro"));
    Log(JsonLine("macro").Text("text", statement));
    RunMacro(statement);
    return 1;
}

CORAX_EXPORT int32_t CORAX_CALL CXA_GetMessageCount(int32_t selected) {
    const int32_t count = SelectedCount();
    Log(Call("CXA_GetMessageCount").Number("selected", selected).Number("result", count));
    return count;
}

CORAX_EXPORT int32_t CORAX_CALL CXA_GetNextMessagePath(int32_t position, char* path, int32_t selected) {
    const int32_t next = NextSelected(position, path);
    Log(Call("CXA_GetNextMessagePath").Number("position", position).Number("selected", selected)
            .Number("result", next));
    return next;
}

CORAX_EXPORT const char* CORAX_CALL CXA_GetMessage(const char* path) {
    const char* text = MessageText(path);
    Log(Call("CXA_GetMessage").Text("path", path).Bool("delivered", text != nullptr));
    return text;
}

CORAX_EXPORT void CORAX_CALL CXA_ReleaseCoraxBuffer() {
    Log(Call("CXA_ReleaseCoraxBuffer"));
    ReleaseMessageText();
}

// The functions the plug-in has no use for.
#define CORAX_UNUSED(name) \
    CORAX_EXPORT void CORAX_CALL name() { Log(Call(#name)); }
CORAX_UNUSED(CXA_AppendMessage)
CORAX_UNUSED(CXA_MakeLoginURLEncoding)
CORAX_UNUSED(CXA_ReceiveArticleBbs)
CORAX_UNUSED(CXA_GetWebDataEx)
CORAX_UNUSED(CXA_DispMessageOnStatusBar)
CORAX_UNUSED(CXA_WebLogin)
CORAX_UNUSED(CXA_ListUpAllFiles)
CORAX_UNUSED(CXA_GetLayoutParam)
CORAX_UNUSED(CXA_SetLayoutParam)
CORAX_UNUSED(CXA_GetListColumnWidth)
CORAX_UNUSED(CXA_SetListColumnWidth)
CORAX_UNUSED(CXA_SetListColumnName)
CORAX_UNUSED(CXA_OpenTheUrl)
CORAX_UNUSED(CXA_ConvUtf8ToSjis)
CORAX_UNUSED(CXA_GetPointedUrl)
CORAX_UNUSED(CXA_GetPointedMailAdr)
CORAX_UNUSED(CXA_GetPointedMessageId)
CORAX_UNUSED(CXA_ReplaceMessage)
CORAX_UNUSED(CXA_SelectMessage)
CORAX_UNUSED(CXA_CopyMessage)
CORAX_UNUSED(CXA_MoveMessage)
CORAX_UNUSED(CXA_DeleteMessage)
CORAX_UNUSED(CXA_CompactCurrentFolder)
CORAX_UNUSED(CXA_GetTempWindows)
CORAX_UNUSED(CXA_GetCurAdrInfo)
CORAX_UNUSED(CXA_SetCurAdrInfo)
CORAX_UNUSED(CXA_GetAttachPaths)
CORAX_UNUSED(CXA_AppendAttachPaths)
CORAX_UNUSED(CXA_DeleteAttachPath)
CORAX_UNUSED(CXA_GetEditCount)
CORAX_UNUSED(CXA_GetEditText)
CORAX_UNUSED(CXA_SetEditText)
CORAX_UNUSED(CXA_IsCommunicatingNow)
// The second build lacks this one, so that the plug-in must refuse to load.
#ifndef CORAX_SIM_LEAVE_OUT_LAST_EXPORT
CORAX_UNUSED(CXA_GetCoraxVersion)
#endif
#undef CORAX_UNUSED

// Both sides use the calling form and types of the shared header.
#define CORAX_CHECK_TYPE(name, type) \
    static_assert(std::is_same<decltype(&name), host::type>::value, #name " differs from the host table");
#ifdef CORAX_SIM_LEAVE_OUT_LAST_EXPORT
#define CORAX_CHECK_PRESENT(name, type)
#else
#define CORAX_CHECK_PRESENT(name, type) CORAX_CHECK_TYPE(name, type)
#endif
CORAX_HOST_FUNCTIONS(CORAX_CHECK_PRESENT)
