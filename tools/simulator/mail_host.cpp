#include "mail_host.h"

bool OpenMailHost(const SimulatorOptions&, std::string&) { return true; }
void CloseMailHost() {}
void CurrentFolderPath(char* path) { path[0] = '\0'; }
void FallbackFolderPath(char* path) { path[0] = '\0'; }
int32_t ListFolders(const char*, char*, int32_t) { return 0; }
int32_t SelectedCount() { return 0; }
int32_t NextSelected(int32_t, char*) { return -1; }
const char* MessageText(const char*) { return nullptr; }
void ReleaseMessageText() {}
void RunMacro(const std::string&) {}
