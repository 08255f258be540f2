// The database title a command takes when none is given.
#pragma once

#include <string>

// The file name of path without its folders and its last extension.
std::string DefaultTitle(const std::string& path);
