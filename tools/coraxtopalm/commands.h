// The sub-commands of the coraxtopalm tool; main.cpp holds their table.
#pragma once

#include <string>
#include <vector>

// Exit statuses of every sub-command.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

using Arguments = std::vector<std::string>;

int RunConvert(const Arguments& arguments);
int RunPack(const Arguments& arguments);
int RunUnpack(const Arguments& arguments);
int RunInfo(const Arguments& arguments);
int RunUsersDat(const Arguments& arguments);
