// Every include under src/ and tools/ points down the layer table of
// docs/architecture.md: to the same folder or a lower layer, never up and
// never to another folder of the same layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kRoot = SORVANEL_SOURCE_DIR;

// Folder -> layer, read from the table of the architecture document.
std::map<std::string, int> ReadLayers() {
  std::ifstream doc(kRoot / "docs/architecture.md");
  const std::regex row(R"(^\|\s*(\d+)\s*\|([^|]*)\|)");
  const std::regex name("`([^`]+)`");
  std::map<std::string, int> layers;
  for (std::string line; std::getline(doc, line);) {
    std::smatch cells;
    if (!std::regex_search(line, cells, row))
      continue;
    const int layer = std::stoi(cells[1]);
    const std::string folders = cells[2];
    for (std::sregex_iterator it(folders.begin(), folders.end(), name), end;
         it != end; ++it)
      layers[(*it)[1]] = layer;
  }
  return layers;
}

// The name a file has in the table's terms: relative to src/, or starting
// with tools/.
std::string TableName(const fs::path &file) {
  const fs::path relative = file.lexically_relative(kRoot);
  const std::string text = relative.generic_string();
  return text.rfind("src/", 0) == 0 ? text.substr(4) : text;
}

// The table's folder a file lies in: the longest folder that holds it.
std::string FolderOf(const std::string &name,
                     const std::map<std::string, int> &layers) {
  std::string best;
  for (const auto &[folder, layer] : layers)
    if (name.rfind(folder + "/", 0) == 0 && folder.size() > best.size())
      best = folder;
  return best;
}

// An include as the compiler finds it: beside the file, else under src/.
fs::path Resolve(const fs::path &file, const std::string &include) {
  const fs::path beside = file.parent_path() / include;
  if (fs::exists(beside))
    return beside;
  const fs::path underSrc = kRoot / "src" / include;
  return fs::exists(underSrc) ? underSrc : fs::path();
}

std::vector<fs::path> SourceFiles() {
  std::vector<fs::path> files;
  for (const char *top : {"src", "tools"})
    for (const auto &entry : fs::recursive_directory_iterator(kRoot / top)) {
      const fs::path &path = entry.path();
      if (path.extension() == ".h" || path.extension() == ".cpp")
        files.push_back(path);
    }
  return files;
}

} // namespace

TEST(IncludeLayersTest, EveryIncludePointsDown) {
  const std::map<std::string, int> layers = ReadLayers();
  ASSERT_GT(layers.size(), 10u) << "no layer table in docs/architecture.md";
  const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::vector<std::string> wrong;
  for (const fs::path &file : SourceFiles()) {
    const std::string name = TableName(file);
    const std::string from = FolderOf(name, layers);
    if (from.empty()) {
      wrong.push_back(name + ": its folder is not in the layer table");
      continue;
    }
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
      std::smatch match;
      if (!std::regex_search(line, match, include))
        continue;
      const fs::path target = Resolve(file, match[1]);
      if (target.empty())
        continue; // generated or outside the sources
      const std::string to = FolderOf(TableName(target), layers);
      if (to == from)
        continue;
      const bool down = !to.empty() && layers.at(to) < layers.at(from);
      const std::string edge = name + " -> " + TableName(target);
      if (!down)
        wrong.push_back(edge);
    }
  }
  std::ostringstream report;
  for (const std::string &line : wrong)
    report << "\n  " << line;
  EXPECT_TRUE(wrong.empty()) << "includes against the layers:" << report.str();
}
