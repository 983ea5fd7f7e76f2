// Whether a file is an account file, checked before anything is written to
// it: the path names a regular file, the engine finds a sound database
// there, and it holds the tables and the columns the program reads. The
// session's open, the backups and the restore share these checks, so a
// file one of them accepts the others accept too.
#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;

// What is wrong with path before any engine looks at it: empty for a
// regular file, else "账簿文件不存在：<path>" when nothing is there, or a
// text saying that it is no regular file (a folder, a FIFO, a device).
QString AccountPathProblem(const QString &path);

// The name to hand sqlite3_open_v2 for path: absolute, so that a name such
// as "file:x.fz" is always a plain file name and never a URI.
QByteArray EngineFileName(const QString &path);

// Checks the database open on db, read from path, without writing: every
// page readable (quick_check), the file made of whole pages, the tables
// Users, TableStyle, ViewMap and miscellaneous with the columns the program
// reads, and in a file of the current layout (it has T_VersionControl) the
// columns and tables the upgrade adds. SQLITE_OK, or an error code with
// problem set: a Chinese text naming the file and the missing table or
// column, else the engine's text for the code.
int CheckAccountDatabase(sqlite3 *db, const QString &path, QString *problem);

// Whether db holds the tables of the current layout (T_VersionControl);
// an older file needs the schema upgrade before the program can use it.
bool HasCurrentLayout(sqlite3 *db);
