// The sub-commands of the coraxtopalm tool; main.cpp holds their table.
#pragma once

#include "command_line.h"

// Exit statuses of every sub-command.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Each command's description, options and run function.
const CommandSpec& ConvertCommand();
const CommandSpec& PackCommand();
const CommandSpec& UnpackCommand();
const CommandSpec& InfoCommand();
const CommandSpec& UsersDatCommand();
