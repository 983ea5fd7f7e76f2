// The checks that tell an account file from any other file.
#include "db/account_check.h"

#include "db/describe_error.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <iterator>

namespace {

struct TableColumns {
  const char *table;
  const char *columns[10];
};

// What the program reads in every account file, old layout or current.
const TableColumns kAccountTables[] = {
    {"Users", {"ID"}},
    {"TableStyle",
     {"ID", "编号", "字段名", "标题", "启用", "数据类型", "只读", "宽度", "选项"}},
    {"ViewMap", {"SortIndex", "ItemSql", "ItemName"}},
    {"miscellaneous",
     {"MainShowTip", "bGridAutoSize", "bExpandColumnsToFit", "bShowLastLine"}},
};

// What the schema upgrade adds; a file of the current layout has it.
const TableColumns kUpgradedTables[] = {
    {"Users", {"trelva_Group_ID"}},
    {"TableStyle", {"默认值"}},
    {"Group", {"ID", "parentID", "SortID", "Title", "State", "NodeKind"}},
};

// The first column of the single row of sql (with text bound to its
// parameters in order) as integer, or the error code.
int ScalarInt(sqlite3 *db, const char *sql, qint64 &value,
              const QByteArray &first = {}, const QByteArray &second = {}) {
  sqlite3_stmt *stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  if (rc != SQLITE_OK)
    return rc;
  if (sqlite3_bind_parameter_count(stmt) >= 1)
    sqlite3_bind_text(stmt, 1, first.constData(), int(first.size()), SQLITE_STATIC);
  if (sqlite3_bind_parameter_count(stmt) >= 2)
    sqlite3_bind_text(stmt, 2, second.constData(), int(second.size()), SQLITE_STATIC);
  rc = sqlite3_step(stmt);
  value = rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
  if (rc == SQLITE_ROW || rc == SQLITE_DONE)
    rc = SQLITE_OK;
  sqlite3_finalize(stmt);
  return rc;
}

// quick_check reads every page: a truncated or damaged file is found here
// rather than half-way through the user's work.
int CheckIntegrity(sqlite3 *db) {
  sqlite3_stmt *stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &stmt, nullptr);
  if (rc != SQLITE_OK)
    return rc;
  rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW) {
    const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
    rc = text && qstrcmp(text, "ok") == 0 ? SQLITE_OK : SQLITE_CORRUPT;
  }
  sqlite3_finalize(stmt);
  return rc;
}

// SQLite writes whole pages only; a file that ends inside a page has been
// cut short, even when the part that went missing held no data yet.
int CheckWholePages(sqlite3 *db, const QString &path) {
  qint64 pageSize = 0;
  const int rc = ScalarInt(db, "PRAGMA page_size", pageSize);
  if (rc != SQLITE_OK)
    return rc;
  // An empty file reads as a database without tables; it holds none.
  const qint64 size = QFileInfo(path).size();
  if (size == 0)
    return SQLITE_NOTADB;
  return pageSize > 0 && size % pageSize == 0 ? SQLITE_OK : SQLITE_CORRUPT;
}

int CountTables(sqlite3 *db, const char *table, qint64 &found) {
  return ScalarInt(db,
                   "SELECT count(*) FROM sqlite_master WHERE type='table' AND "
                   "name=?1 COLLATE NOCASE",
                   found, table);
}

// Checks that the tables are there, then their columns; names compare
// without case, as Jet compares them.
int CheckTables(sqlite3 *db, const TableColumns *tables, int count,
                const QString &path, QString *problem) {
  for (int i = 0; i < count; ++i) {
    qint64 found = 0;
    const int rc = CountTables(db, tables[i].table, found);
    if (rc != SQLITE_OK)
      return rc;
    if (found == 0) {
      *problem = QStringLiteral("%1 不是账簿文件：缺少表 %2")
                     .arg(path, QString::fromUtf8(tables[i].table));
      return SQLITE_NOTADB;
    }
  }
  for (int i = 0; i < count; ++i) {
    for (const char *column : tables[i].columns) {
      if (!column)
        break;
      qint64 found = 0;
      const int rc = ScalarInt(db,
                               "SELECT count(*) FROM pragma_table_info(?1) "
                               "WHERE name=?2 COLLATE NOCASE",
                               found, tables[i].table, column);
      if (rc != SQLITE_OK)
        return rc;
      if (found == 0) {
        *problem = QStringLiteral("账簿文件已损坏：%1 的表 %2 缺少列 %3")
                       .arg(path, QString::fromUtf8(tables[i].table),
                            QString::fromUtf8(column));
        return SQLITE_CORRUPT;
      }
    }
  }
  return SQLITE_OK;
}

} // namespace

QString AccountPathProblem(const QString &path) {
  const QFileInfo info(path);
  if (!info.exists())
    return QStringLiteral("账簿文件不存在：%1").arg(path);
  if (!info.isFile())
    return QStringLiteral("%1 不是普通文件，不能作为账簿文件打开").arg(path);
  return {};
}

QByteArray EngineFileName(const QString &path) {
  return QFile::encodeName(QFileInfo(path).absoluteFilePath());
}

int CheckAccountDatabase(sqlite3 *db, const QString &path, QString *problem) {
  int rc = CheckIntegrity(db);
  if (rc == SQLITE_OK)
    rc = CheckWholePages(db, path);
  if (rc == SQLITE_OK)
    rc = CheckTables(db, kAccountTables, int(std::size(kAccountTables)), path,
                     problem);
  if (rc == SQLITE_OK && HasCurrentLayout(db))
    rc = CheckTables(db, kUpgradedTables, int(std::size(kUpgradedTables)), path,
                     problem);
  if (rc != SQLITE_OK && problem->isEmpty())
    *problem = DescribeError(rc);
  return rc;
}

bool HasCurrentLayout(sqlite3 *db) {
  qint64 found = 0;
  return CountTables(db, "T_VersionControl", found) == SQLITE_OK && found > 0;
}
