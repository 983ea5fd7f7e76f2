// Every include under src/ and tools/ points down the layer table of
// docs/architecture.md: to the same folder or a lower layer, never up and
// never to another folder of the same layer. Within a folder no two files
// include each other, directly or around a circle (a file is its header
// and its source together).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
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

// The source files a file includes; generated headers and those outside
// the sources are left out.
std::vector<fs::path> IncludedFiles(const fs::path &file) {
  static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::vector<fs::path> included;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    std::smatch match;
    if (!std::regex_search(line, match, include))
      continue;
    const fs::path target = Resolve(file, match[1]);
    if (!target.empty())
      included.push_back(target);
  }
  return included;
}

// A file without its extension: its header and source are one node.
std::string ModuleOf(const fs::path &file) {
  fs::path module = file;
  return module.replace_extension().lexically_relative(kRoot).generic_string();
}

// Module -> the modules its files include.
std::map<std::string, std::set<std::string>> IncludeGraph() {
  std::map<std::string, std::set<std::string>> graph;
  for (const fs::path &file : SourceFiles()) {
    std::set<std::string> &edges = graph[ModuleOf(file)];
    for (const fs::path &target : IncludedFiles(file))
      if (ModuleOf(target) != ModuleOf(file))
        edges.insert(ModuleOf(target));
  }
  return graph;
}

// The strongly connected components of more than one module (Tarjan).
std::vector<std::vector<std::string>>
Cycles(const std::map<std::string, std::set<std::string>> &graph) {
  std::map<std::string, int> index, low;
  std::vector<std::string> stack;
  std::set<std::string> onStack;
  std::vector<std::vector<std::string>> cycles;
  int next = 0;
  std::function<void(const std::string &)> visit = [&](const std::string &v) {
    index[v] = low[v] = next++;
    stack.push_back(v);
    onStack.insert(v);
    const auto edges = graph.find(v);
    if (edges != graph.end())
      for (const std::string &w : edges->second) {
        if (!index.count(w)) {
          visit(w);
          low[v] = std::min(low[v], low[w]);
        } else if (onStack.count(w)) {
          low[v] = std::min(low[v], index[w]);
        }
      }
    if (low[v] != index[v])
      return;
    std::vector<std::string> component;
    std::string w;
    do {
      w = stack.back();
      stack.pop_back();
      onStack.erase(w);
      component.push_back(w);
    } while (w != v);
    if (component.size() > 1)
      cycles.push_back(component);
  };
  for (const auto &[module, edges] : graph)
    if (!index.count(module))
      visit(module);
  return cycles;
}

} // namespace

TEST(IncludeLayersTest, NoFilesIncludeEachOther) {
  std::ostringstream report;
  for (const std::vector<std::string> &cycle : Cycles(IncludeGraph())) {
    report << "\n ";
    for (const std::string &module : cycle)
      report << ' ' << module;
  }
  EXPECT_TRUE(report.str().empty()) << "include cycles:" << report.str();
}

TEST(IncludeLayersTest, EveryIncludePointsDown) {
  const std::map<std::string, int> layers = ReadLayers();
  ASSERT_GT(layers.size(), 10u) << "no layer table in docs/architecture.md";
  std::vector<std::string> wrong;
  for (const fs::path &file : SourceFiles()) {
    const std::string name = TableName(file);
    const std::string from = FolderOf(name, layers);
    if (from.empty()) {
      wrong.push_back(name + ": its folder is not in the layer table");
      continue;
    }
    for (const fs::path &target : IncludedFiles(file)) {
      const std::string to = FolderOf(TableName(target), layers);
      if (to == from)
        continue;
      const bool down = !to.empty() && layers.at(to) < layers.at(from);
      if (!down)
        wrong.push_back(name + " -> " + TableName(target));
    }
  }
  std::ostringstream report;
  for (const std::string &line : wrong)
    report << "\n  " << line;
  EXPECT_TRUE(wrong.empty()) << "includes against the layers:" << report.str();
}
