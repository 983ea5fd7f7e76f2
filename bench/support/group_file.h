// A copy of the household template filled with a large group tree and many
// records, written directly through the C API, outside the session being
// measured: the file of the group tree and group pane benchmarks.
#pragma once

#include <functional>
#include <string>

struct GroupFileShape {
  int nodes = 500;
  int folders = 25;    // IDs 1 to folders; 1 is the top folder
  int records = 100000;
  // The SortID of each node (its ID when not given).
  std::function<int(int id)> sortOf;
  // Whether a group starts ticked (State 1).
  std::function<bool(int id)> ticked;
};

// Replaces the groups of the file at path by folders 2 to folders under
// folder 1 and the groups spread over them, and adds the records spread
// over the groups (dates as the session stores them), in one transaction.
bool FillGroupFile(const std::string &path, const GroupFileShape &shape);
