// The simulator's command line.
#pragma once

#include <string>
#include <vector>

struct SimulatorOptions {
    std::string plugin;         // --plugin PATH; main reads it in UTF-16
    std::string log;            // --log FILE; empty: standard output
    bool setTmp = false;        // --tmp DIR given; main reads DIR in UTF-16
    bool unsetTmp = false;      // --no-tmp: "TMP" removed before the load
    int context = 0;            // --context N, passed with EVT_BUILD_MENU
    std::vector<std::string> actions;  // --run ACTION, in order
    std::string mailRoot;       // --mailroot DIR: the host's data folder
    std::string folder;         // --folder REL below DIR\Account; empty: none
    std::string fallback;       // --fallback REL: CXA_GetAindexFolderPath
    std::string select = "none";  // --select none|all|unread|LIST
    std::string dialog;         // --dialog SCRIPT
    std::string undeliverable;  // --no-text LIST: messages whose text the host withholds
    std::vector<std::string> listExtra;  // --list-extra PATH: listed before the tree
    bool forceListResult = false;  // --list-result N: CXA_ListUpFiles answers N
    int listResult = 0;
};

// False with a message in error when the command line is not understood.
bool ParseOptions(int argc, char** argv, SimulatorOptions& options, std::string& error);
