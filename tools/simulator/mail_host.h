// The host's mail side: folders below --mailroot, the selection of the
// current folder, message texts and the macros that act on them.
#pragma once

#include <cstdint>
#include <string>

#include "options.h"

bool OpenMailHost(const SimulatorOptions& options, std::string& error);
// Writes the read state back and reports texts still held. False when the
// read marks of a folder could not be written (each is said on stderr).
bool CloseMailHost();

void CurrentFolderPath(char* path);
void FallbackFolderPath(char* path);
int32_t ListFolders(const char* pattern, char* buffer, int32_t size);
int32_t SelectedCount();
int32_t NextSelected(int32_t position, char* path);
const char* MessageText(const char* path);
void ReleaseMessageText();
void RunMacro(const std::string& statement);
