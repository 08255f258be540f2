// Every #include in src/ goes down the layer order that CMake builds from:
// an area uses only itself, the areas of lower ranks and the resources; and
// no two areas define one inline function or class under one name, which
// the linker would silently merge into one of the two definitions; and each
// area's files are in the area's own namespace, so that no such merge of two
// names can happen unseen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
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

// The inline functions and classes that a file defines with external
// linkage, by their qualified names: those at the top of a named namespace
// or of the global one, not inside an anonymous namespace. Namespaces are
// closed by a line "}  // namespace ...", as every file here writes them.
std::vector<std::string> SharedDefinitions(std::istream& text) {
    const std::regex open(R"re(^namespace\s*([\w:]*)\s*\{)re");
    const std::regex close(R"re(^\}\s*//\s*namespace)re");
    const std::regex definition(R"re(^(?:inline\b[^(=]*?\b(\w+)\s*\(|(?:struct|class)\s+(\w+)\b[^;]*$))re");
    std::vector<std::string> names;
    std::vector<std::string> scopes;
    std::string line;
    while (std::getline(text, line)) {
        std::smatch match;
        if (std::regex_search(line, match, open)) {
            scopes.push_back(match[1]);
        } else if (std::regex_search(line, match, close)) {
            if (!scopes.empty()) scopes.pop_back();
        } else if (std::regex_search(line, match, definition)) {
            std::string qualified;
            bool internal = false;
            for (const std::string& scope : scopes) {
                internal = internal || scope.empty();
                qualified += scope + "::";
            }
            if (!internal) names.push_back(qualified + (match[1].matched ? match[1] : match[2]).str());
        }
    }
    return names;
}

struct DefinitionCase {
    const char* text;
    std::vector<std::string> names;
};

const DefinitionCase kDefinitionCases[] = {
    {"inline bool IsWhiteSpace(char c) { return c == ' '; }\n", {"IsWhiteSpace"}},
    {"namespace mime {\n\ninline char LowerAscii(char c);\nstruct Charset {\n}  // namespace mime\n",
     {"mime::LowerAscii", "mime::Charset"}},
    {"namespace {\ninline int Local() { return 0; }\nstruct Piece {\n}  // namespace\ninline int After();\n",
     {"After"}},
    {"class BatchCompressor;\nconstexpr inline int kValue = 1;\n    inline int Member();\n", {}},
};

TEST(LayerOrderTest, CheckerFindsInlineAndClassDefinitions) {
    for (const DefinitionCase& c : kDefinitionCases) {
        std::istringstream text(c.text);
        EXPECT_EQ(SharedDefinitions(text), c.names) << c.text;
    }
}

TEST(LayerOrderTest, NoTwoAreasDefineOneNameInline) {
    const fs::path source = fs::path(CTP_SOURCE_DIR) / "src";
    std::map<std::string, std::set<std::string>> areasOf;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), source);
        if (relative == relative.filename()) continue;
        std::ifstream file(entry.path());
        for (const std::string& name : SharedDefinitions(file)) areasOf[name].insert(relative.begin()->string());
    }
    EXPECT_GT(areasOf.size(), 0u);
    for (const auto& [name, areas] : areasOf) {
        EXPECT_EQ(areas.size(), 1u) << name << " is defined in " << areas.size() << " areas, first "
                                    << *areas.begin() << " and " << *areas.rbegin();
    }
}

// The namespace of an area whose folder name is a keyword.
const std::map<std::string, std::string> kNamespaceOfArea = {{"export", "exporter"}};

// Files of src/ that stay in the global namespace, and why.
const std::map<std::string, std::string> kGlobalFiles = {
    {"shell/dll_main_win32.cpp", "the loader calls DllMain by its global, unmangled name"},
};

TEST(LayerOrderTest, EveryFileOpensTheNamespaceOfItsArea) {
    const fs::path source = fs::path(CTP_SOURCE_DIR) / "src";
    int checked = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
        const fs::path relative = fs::relative(entry.path(), source);
        const std::string area = relative.begin()->string();
        const auto renamed = kNamespaceOfArea.find(area);
        const std::regex open("^namespace " + (renamed == kNamespaceOfArea.end() ? area : renamed->second) + R"( \{)");
        std::ifstream file(entry.path());
        std::string line;
        bool opens = false;
        while (!opens && std::getline(file, line)) opens = std::regex_search(line, open);
        const bool global = kGlobalFiles.count(relative.generic_string()) == 1;
        EXPECT_EQ(opens, !global) << "src/" << relative.generic_string()
                                  << (global ? " is listed as global" : " does not open the namespace of its area");
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

}  // namespace
