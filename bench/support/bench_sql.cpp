// Raw SQLite helpers shared by the benchmarks.
#include "bench_sql.h"

#include <sqlite3.h>

#include <cstdio>

bool Exec(sqlite3 *db, const char *sql) {
  char *error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK)
    return true;
  std::fprintf(stderr, "%s: %s\n", sql, error ? error : "?");
  sqlite3_free(error);
  return false;
}

bool Exec(sqlite3 *db, const std::string &sql) {
  return Exec(db, sql.c_str());
}
