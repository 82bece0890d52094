// Every include of a source or test file names a layer at or below the file's own: the folders of
// src/ are layers, lowest first in the order the build defines, and only downward calls are
// direct.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::map<std::string, int> layerRanks() {
    std::map<std::string, int> ranks;
    std::istringstream order(TARVIK_LAYER_ORDER);
    std::string layer;
    int rank = 0;
    while (std::getline(order, layer, ','))
        ranks[layer] = rank++;
    return ranks;
}

bool isSource(const fs::path& p) {
    const std::string ext = p.extension().string();
    return ext == ".cpp" || ext == ".h";
}

// The folder named by an include such as "lie/Tarvik.h" or <lie/Tarvik.h>, blanks allowed before
// and after the '#'; empty for a file of the same folder or a header without a folder. A folder
// in angle brackets counts only when it is a layer, since <sys/stat.h> or <gtest/gtest.h> are
// headers of the system or of a library.
std::string includedFolder(const std::string& line) {
    static const std::map<std::string, int> ranks = layerRanks();
    constexpr auto none = std::string::npos;
    std::size_t at = line.find_first_not_of(" \t");
    if (at == none || line[at] != '#')
        return "";
    at = line.find_first_not_of(" \t", at + 1);
    if (at == none || line.compare(at, 7, "include") != 0)
        return "";
    at = line.find_first_not_of(" \t", at + 7);
    if (at == none || (line[at] != '"' && line[at] != '<'))
        return "";
    const bool angle = line[at] == '<';
    const std::size_t end = line.find(angle ? '>' : '"', at + 1);
    const std::string target = line.substr(at + 1, end == none ? none : end - at - 1);
    const std::size_t slash = target.find('/');
    if (slash == none)
        return "";
    const std::string folder = target.substr(0, slash);
    return angle && ranks.count(folder) == 0 ? "" : folder;
}

// Each offending include of the files below dir, as "file:line: text", checked against the rank
// of the layer the file belongs to.
void checkTree(const fs::path& root, const fs::path& dir, int (*rankOf)(const fs::path&),
               std::vector<std::string>& faults) {
    static const std::map<std::string, int> ranks = layerRanks();
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file() || !isSource(entry.path()))
            continue;
        const int own = rankOf(fs::relative(entry.path(), dir));
        std::ifstream file(entry.path());
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            const std::string folder = includedFolder(line);
            if (folder.empty())
                continue;
            const auto found = ranks.find(folder);
            const std::string where = fs::relative(entry.path(), root).string() + ":" +
                                      std::to_string(number) + ": " + line;
            if (found == ranks.end())
                faults.push_back(where + " (no such layer)");
            else if (own < 0)
                faults.push_back(where + " (the file lies in no layer)");
            else if (found->second > own)
                faults.push_back(where + " (above the file's own layer)");
        }
    }
}

int rankOfFirstFolder(const fs::path& relative) {
    static const std::map<std::string, int> ranks = layerRanks();
    const auto found = ranks.find(relative.begin()->string());
    return found == ranks.end() ? -1 : found->second;
}

// Tests live in tests/unit/<layer>/; the shared helpers directly in tests/unit/ belong to the
// lowest layer.
int rankOfTestFile(const fs::path& relative) {
    if (std::distance(relative.begin(), relative.end()) == 1)
        return 0;
    return rankOfFirstFolder(relative);
}

} // namespace

TEST(LayerOrder, LayersAreKnown) {
    const auto ranks = layerRanks();
    ASSERT_GT(ranks.size(), 2u);
    EXPECT_EQ(ranks.at("base"), 0);
    EXPECT_GT(ranks.at("main"), ranks.at("commands"));
}

TEST(LayerOrder, FolderNamesParse) {
    EXPECT_EQ(includedFolder("#include \"lie/Tarvik.h\""), "lie");
    EXPECT_EQ(includedFolder("  #  include \"x.h\""), "");
    EXPECT_EQ(includedFolder("#include <vector>"), "");
    EXPECT_EQ(includedFolder("#include\"store/Storemanager.h\" // why"), "store");
    EXPECT_EQ(includedFolder("int x; // #include \"lie/Tarvik.h\""), "");
    // Blanks around the '#', and headers of src/ in angle brackets.
    EXPECT_EQ(includedFolder("#  include \"modular/Modular.h\""), "modular");
    EXPECT_EQ(includedFolder("  #\tinclude \"tensor/Coset.h\""), "tensor");
    EXPECT_EQ(includedFolder("#include <modular/Modular.h>"), "modular");
    EXPECT_EQ(includedFolder("# include<base/Error.h> // why"), "base");
    EXPECT_EQ(includedFolder("#include <gtest/gtest.h>"), "");
    EXPECT_EQ(includedFolder("#include <sys/stat.h>"), "");
    EXPECT_EQ(includedFolder("#include_next <lie/Tarvik.h>"), "");
    EXPECT_EQ(includedFolder("#define include \"lie/Tarvik.h\""), "");
}

TEST(LayerOrder, SourcesIncludeOnlyTheirLayerAndBelow) {
    const fs::path root = TARVIK_SOURCE_DIR;
    std::vector<std::string> faults;
    checkTree(root, root / "src", rankOfFirstFolder, faults);
    for (const std::string& fault : faults)
        ADD_FAILURE() << fault;
}

TEST(LayerOrder, TestsIncludeOnlyTheirLayerAndBelow) {
    const fs::path root = TARVIK_SOURCE_DIR;
    std::vector<std::string> faults;
    checkTree(root, root / "tests" / "unit", rankOfTestFile, faults);
    for (const std::string& fault : faults)
        ADD_FAILURE() << fault;
}
