// Every #include in src/ goes down the layer order that CMake builds from:
// an area uses only itself, the areas of lower ranks and the resources.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Headers of texts and resource ids that every layer may read.
constexpr char kSharedResources[] = "resources";

// "platform|host|text palmdoc|..." to area -> rank.
std::map<std::string, int> ParseLayers(const std::string& order) {
    std::map<std::string, int> ranks;
    std::stringstream ranksText(order);
    std::string rank;
    for (int number = 0; std::getline(ranksText, rank, '|'); ++number) {
        std::stringstream areas(rank);
        std::string area;
        while (areas >> area) ranks[area] = number;
    }
    return ranks;
}

// Empty when area may include the header named by includePath; otherwise why not.
std::string CheckInclude(const std::map<std::string, int>& ranks, const std::string& area,
                         const std::string& includePath) {
    const size_t slash = includePath.find('/');
    if (slash == std::string::npos) return "";  // a header of the including folder
    const std::string target = includePath.substr(0, slash);
    if (target == kSharedResources || target == area) return "";
    const auto from = ranks.find(area);
    const auto to = ranks.find(target);
    if (from == ranks.end()) return "area " + area + " has no place in the layer order";
    if (to == ranks.end()) return target + " is not a layer of src/";
    if (to->second > from->second) return target + " stands above " + area;
    if (to->second == from->second) return target + " and " + area + " share a rank and must not use each other";
    return "";
}

struct IncludeCase {
    const char* area;
    const char* include;
    bool allowed;
};

const IncludeCase kCases[] = {
    {"export", "hotsync/install_queue.h", true},
    {"settings", "host/host_state.h", true},
    {"host", "platform/platform.h", true},
    {"shell", "resources/strings.h", true},
    {"text", "text/byte_classes.h", true},
    {"settings", "shell/settings_dialog.h", false},
    {"hotsync", "export/folder_export.h", false},
    {"text", "palmdoc/pdb_writer.h", false},
    {"platform", "host/host_api.h", false},
    {"export", "tools/mailbox/mailbox.h", false},
};

TEST(LayerOrderTest, CheckerAllowsDownwardIncludesOnly) {
    const auto ranks = ParseLayers("platform|host|settings|text palmdoc hotsync|export|shell");
    for (const IncludeCase& c : kCases) {
        EXPECT_EQ(CheckInclude(ranks, c.area, c.include).empty(), c.allowed) << c.area << " -> " << c.include;
    }
}

TEST(LayerOrderTest, NoIncludeInSrcGoesUpTheOrder) {
    const auto ranks = ParseLayers(CTP_LAYER_ORDER);
    const fs::path source = fs::path(CTP_SOURCE_DIR) / "src";
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    int checked = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), source);
        const std::string area = relative.begin()->string();
        if (relative == relative.filename()) continue;  // nothing lies loose in src/
        EXPECT_EQ(ranks.count(area), 1u) << "src/" << area << " has no place in the layer order";
        std::ifstream file(entry.path());
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            std::smatch match;
            if (!std::regex_search(line, match, include)) continue;
            ++checked;
            const std::string why = CheckInclude(ranks, area, match[1]);
            EXPECT_TRUE(why.empty()) << "src/" << relative.string() << ":" << number << ": " << why;
        }
    }
    EXPECT_GT(checked, 0);
}

}  // namespace
