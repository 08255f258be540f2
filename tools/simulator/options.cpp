#include "options.h"

#include <cstdlib>
#include <cstring>

bool ParseOptions(int argc, char** argv, SimulatorOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--no-tmp") {
            options.unsetTmp = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "option " + name + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        if (name == "--plugin") options.plugin = value;
        else if (name == "--log") options.log = value;
        else if (name == "--tmp") options.setTmp = true;
        else if (name == "--context") options.context = std::atoi(value.c_str());
        else if (name == "--run") options.actions.push_back(value);
        else if (name == "--mailroot") options.mailRoot = value;
        else if (name == "--folder") options.folder = value;
        else if (name == "--fallback") options.fallback = value;
        else if (name == "--select") options.select = value;
        else if (name == "--dialog") options.dialog = value;
        else if (name == "--list-extra") options.listExtra.push_back(value);
        else if (name == "--no-text") options.undeliverable = value;
        else if (name == "--list-result") { options.forceListResult = true; options.listResult = std::atoi(value.c_str()); }
        else {
            error = "unknown option " + name;
            return false;
        }
    }
    if (options.plugin.empty()) {
        error = "--plugin PATH is required";
        return false;
    }
    return true;
}
