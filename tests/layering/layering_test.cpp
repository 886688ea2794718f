// The layering of the product's folders, checked on every include: a file may include its own
// folder and the folders below it in tests/layering/layers.txt. An arrow upwards or sideways
// fails here with the file and the line that made it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
const fs::path kRoot = TVIME_SOURCE_DIR;

struct Layers {
  std::map<std::string, size_t> level;                    // folder -> position from the bottom
  std::set<std::pair<std::string, std::string>> allowed;  // arrows allowed against the order
};

Layers ReadLayers() {
  Layers layers;
  std::ifstream in(kRoot / "tests/layering/layers.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string first, from, arrow, to;
    words >> first;
    if (first == "allow" && words >> from >> arrow >> to && arrow == "->") {
      layers.allowed.insert({from, to});
    } else if (line.find(' ') == std::string::npos) {
      layers.level.emplace(first, layers.level.size());
    }
  }
  return layers;
}

bool IsProductSource(const fs::path& path) {
  std::string name = path.filename().string();
  // Tests and the helpers made for them (test_lexicon.h, test_panel.cpp) are not the product.
  if (name.ends_with("_test.cpp") || name.ends_with("_test.h") || name.starts_with("test_"))
    return false;
  return name.ends_with(".cpp") || name.ends_with(".h") || name.ends_with(".rc") ||
         name.ends_with(".cpp.in");
}

// The folder named by each `#include "folder/..."` of a file, with its line.
std::vector<std::pair<std::string, std::string>> IncludedFolders(const fs::path& file) {
  std::vector<std::pair<std::string, std::string>> found;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, 10, "#include \"") != 0) continue;
    std::string target = line.substr(start + 10);
    size_t slash = target.find('/');
    size_t quote = target.find('"');
    if (slash == std::string::npos || slash > quote) continue;  // a file of the same folder
    found.push_back({target.substr(0, slash), line});
  }
  return found;
}

// The arrows of the tree that the layers do not allow, as "file: line".
std::vector<std::string> Violations(const Layers& layers) {
  std::vector<std::string> violations;
  for (const auto& [folder, level] : layers.level) {
    if (!fs::exists(kRoot / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / folder)) {
      if (!entry.is_regular_file() || !IsProductSource(entry.path())) continue;
      for (const auto& [target, line] : IncludedFolders(entry.path())) {
        auto to = layers.level.find(target);
        bool below = to != layers.level.end() && to->second <= level;
        if (below || layers.allowed.count({folder, target})) continue;
        violations.push_back(fs::relative(entry.path(), kRoot).string() + ": " + line);
      }
    }
  }
  return violations;
}

TEST(Layering, EveryIncludeOfTheProductGoesDownTheLayers) {
  Layers layers = ReadLayers();
  ASSERT_GE(layers.level.size(), 10u) << "tests/layering/layers.txt lists the folders";
  for (const char* folder : {"base", "engine", "panels", "update", "gui"}) {
    EXPECT_TRUE(layers.level.count(folder)) << folder << " is not in the layers";
  }
  std::vector<std::string> violations = Violations(layers);
  std::string listed;
  for (const std::string& violation : violations) listed += "  " + violation + "\n";
  EXPECT_TRUE(violations.empty()) << "includes against the layers:\n" << listed;
}

// The check itself: with the order turned upside down, the includes that go down now go up.
TEST(Layering, AnArrowUpwardsIsFound) {
  Layers layers = ReadLayers();
  Layers reversed = layers;
  for (auto& [folder, level] : reversed.level) level = layers.level.size() - 1 - level;
  std::vector<std::string> violations = Violations(reversed);
  EXPECT_TRUE(std::any_of(violations.begin(), violations.end(), [](const std::string& violation) {
    return violation.starts_with("engine") && violation.find("\"base/") != std::string::npos;
  })) << "engine including base is not found";
}

}  // namespace
