// Raw SQLite helpers shared by the benchmarks that build their files
// directly through the C API, outside the session being measured.
#pragma once

#include <string>

struct sqlite3;

// Runs sql on db; on failure prints the statement and SQLite's message to
// stderr and returns false.
bool Exec(sqlite3 *db, const char *sql);
bool Exec(sqlite3 *db, const std::string &sql);
