// Filling a benchmark file with groups and records.
#include "group_file.h"

#include "bench_sql.h"

#include <sqlite3.h>

namespace {

bool InsertGroups(sqlite3 *db, const GroupFileShape &shape) {
  sqlite3_stmt *group = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO \"Group\" (ID, parentID, SortID, Title, "
                     "State, NodeKind) VALUES (?, ?, ?, ?, ?, ?)",
                     -1, &group, nullptr);
  bool ok = group != nullptr;
  for (int id = 1; ok && id <= shape.nodes; ++id) {
    const bool folder = id <= shape.folders;
    const int parent = id == 1 ? -1 : folder ? 1 : 2 + id % (shape.folders - 1);
    const std::string title = "组" + std::to_string(id);
    sqlite3_bind_int(group, 1, id);
    sqlite3_bind_int(group, 2, parent);
    sqlite3_bind_int(group, 3, shape.sortOf ? shape.sortOf(id) : id);
    sqlite3_bind_text(group, 4, title.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(group, 5, !folder && shape.ticked && shape.ticked(id));
    sqlite3_bind_int(group, 6, folder ? 0 : 1);
    ok = sqlite3_step(group) == SQLITE_DONE;
    sqlite3_reset(group);
  }
  sqlite3_finalize(group);
  return ok;
}

bool InsertRecords(sqlite3 *db, const GroupFileShape &shape) {
  sqlite3_stmt *record = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO Users (ID, Data, Amount, Count, Total, "
                     "trelva_Group_ID) VALUES (?, '2010-08-01 00:00:00', 1.5, "
                     "2, 3, ?)",
                     -1, &record, nullptr);
  bool ok = record != nullptr;
  const int groups = shape.nodes - shape.folders;
  for (int i = 0; ok && i < shape.records; ++i) {
    sqlite3_bind_int(record, 1, i / groups + 1);
    sqlite3_bind_int(record, 2, shape.folders + 1 + i % groups);
    ok = sqlite3_step(record) == SQLITE_DONE;
    sqlite3_reset(record);
  }
  sqlite3_finalize(record);
  return ok;
}

} // namespace

bool FillGroupFile(const std::string &path, const GroupFileShape &shape) {
  sqlite3 *db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  const bool ok = Exec(db, "BEGIN") && Exec(db, "DELETE FROM \"Group\"") &&
                  InsertGroups(db, shape) && InsertRecords(db, shape) &&
                  Exec(db, "COMMIT");
  sqlite3_close(db);
  return ok;
}
