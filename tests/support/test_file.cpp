// Building small account files for tests.
#include "support/test_file.h"

#include "support/query_rows.h"

#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "db/jet_dialect.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {

const char *const kCurrentLayout[] = {
    "Create Table Users ([ID] integer, [Data] date, [Moment] time, [Item] "
    "varchar(50), [Kind] varchar(50), [Amount] float, [Count] integer, [Memo] "
    "text, [Hidden] varchar(50), [trelva_Group_ID] int)",
    "Create Table TableStyle ([ID] integer Primary Key, [编号] integer, [字段名] "
    "text, [标题] text, [启用] yes/no, [数据类型] integer, [只读] yes/no, [宽度] "
    "integer, [选项] text, [默认值] varchar(50))",
    // Display order differs from ID order on purpose, and two widths lie
    // below their minimum.
    "Insert Into TableStyle ([ID], [编号], [字段名], [标题], [启用], [数据类型], "
    "[只读], [宽度], [选项], [默认值]) Values (1, 1, 'ID', '编号', true, 0, true, "
    "20, '', '')",
    "Insert Into TableStyle ([ID], [编号], [字段名], [标题], [启用], [数据类型], "
    "[只读], [宽度], [选项], [默认值]) Values (2, 2, 'Data', '日期', true, 8, "
    "false, 90, '', '')",
    "Insert Into TableStyle ([ID], [编号], [字段名], [标题], [启用], [数据类型], "
    "[只读], [宽度], [选项], [默认值]) Values (3, 3, 'Moment', '时间', true, 9, "
    "false, 70, '', '')",
    "Insert Into TableStyle ([ID], [编号], [字段名], [标题], [启用], [数据类型], "
    "[只读], [宽度], [选项], [默认值]) Values (4, 5, 'Item', '项目', true, 3, "
    "false, 0, '', '')",
    "Insert Into TableStyle ([ID], [编号], [字段名], [标题], [启用], [数据类型], "
    "[只读], [宽度], [选项], [默认值]) Values (5, 4, 'Kind', '类别', true, 4, "
    "false, 70, '餐饮||交通|其他|', '其他')",
    "Insert Into TableStyle ([ID], [编号], [字段名], [标题], [启用], [数据类型], "
    "[只读], [宽度], [选项], [默认值]) Values (6, 6, 'Amount', '单价', true, 2, "
    "false, 70, '', '0')",
    "Insert Into TableStyle ([ID], [编号], [字段名], [标题], [启用], [数据类型], "
    "[只读], [宽度], [选项], [默认值]) Values (7, 7, 'Count', '数量', true, 1, "
    "false, 50, '', '1')",
    "Insert Into TableStyle ([ID], [编号], [字段名], [标题], [启用], [数据类型], "
    "[只读], [宽度], [选项], [默认值]) Values (8, 8, 'Memo', '备注', true, 10, "
    "false, 200, '', '')",
    "Insert Into TableStyle ([ID], [编号], [字段名], [标题], [启用], [数据类型], "
    "[只读], [宽度], [选项], [默认值]) Values (9, 9, 'Hidden', '隐藏', false, 3, "
    "false, 60, '', '')",
    "Create Table ViewMap ([SortIndex] integer, [ItemSql] text, [ItemName] "
    "text)",
    "Insert Into ViewMap ([SortIndex], [ItemSql], [ItemName]) Values (1, "
    "'Select * From Users', '主视图')",
    "Create Table miscellaneous ([MainShowTip] text, [bGridAutoSize] yes/no, "
    "[bExpandColumnsToFit] yes/no, [bShowLastLine] yes/no)",
    "Insert Into miscellaneous ([MainShowTip], [bGridAutoSize], "
    "[bExpandColumnsToFit], [bShowLastLine]) Values ('共 {Select Count(*) From "
    "Users} 笔', false, true, false)",
    "Create Table [FilterMemory] ([ID] COUNTER Primary Key, [ClassID] int, "
    "[Title] text null, [flValue] Image)",
};

// The four tables every account file has, empty, with the tables of the
// older layout that the filter store converts.
const char *const kOldResultTables[] = {
    "Create Table Users ([ID] integer, [Amount] float)",
    "Create Table TableStyle ([ID] integer Primary Key, [编号] integer, [字段名] "
    "text, [标题] text, [启用] yes/no, [数据类型] integer, [只读] yes/no, [宽度] "
    "integer, [选项] text)",
    "Create Table ViewMap ([SortIndex] integer, [ItemSql] text, [ItemName] "
    "text)",
    "Create Table miscellaneous ([MainShowTip] text, [bGridAutoSize] yes/no, "
    "[bExpandColumnsToFit] yes/no, [bShowLastLine] yes/no)",
    "Create Table ResultShowItem ([GroupID] int, [FieldName] text)",
    "Create Table ResultShowLimit ([GroupID] int, [KeyName] text, [SelInfo] "
    "text)",
    "Create Table [FilterMemory] ([ID] COUNTER Primary Key, [ClassID] int, "
    "[Title] text null, [flValue] Image)",
};

template <size_t N> QStringList ToList(const char *const (&statements)[N]) {
  QStringList list;
  for (const char *statement : statements)
    list.append(QString::fromUtf8(statement));
  return list;
}

// A new database at path holding the tables of statements, made on a
// connection of its own through the Jet translation, as the template builder
// makes template files: the session opens only files that already have the
// tables of an account file.
bool CreateFile(const QString &path, const QStringList &statements) {
  sqlite3 *db = nullptr;
  bool made = sqlite3_open_v2(path.toUtf8().constData(), &db,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                              nullptr) == SQLITE_OK;
  // One transaction: a sync per statement would make every test slow.
  made = made && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
  for (const QString &statement : statements) {
    QByteArray sql;
    QString error;
    if (!made || !TranslateJetSql(statement, sql, &error) ||
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) !=
            SQLITE_OK) {
      ADD_FAILURE() << "cannot run " << qPrintable(statement) << ": "
                    << qPrintable(error) << sqlite3_errmsg(db);
      made = false;
      break;
    }
  }
  made = made && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return made;
}

} // namespace

QStringList TestFile::CurrentLayout() { return ToList(kCurrentLayout); }

QStringList TestFile::OldResultTables() { return ToList(kOldResultTables); }

TestFile::TestFile(const QStringList &statements) {
  if (!dir_.isValid())
    return;
  path_ = dir_.filePath(QStringLiteral("test.fz"));
  if (!CreateFile(path_, statements))
    return;
  session_ = CDBVisiterFactory::Instance().GetVisiter(path_);
  valid_ = session_ != nullptr;
}

TestFile::~TestFile() {
  if (session_)
    CDBVisiterFactory::Instance().RemoveVisiter(path_);
}

QStringList TestFile::Rows(const QString &sql) const {
  return QueryRows(*session_, sql);
}

QString TestFile::Cell(const QString &sql) const {
  return session_->Query(sql) == 0 ? QString() : session_->GetString(0);
}

QString TestFile::DeclaredType(const QString &column) const {
  sqlite3_stmt *statement = nullptr;
  const char *sql = "SELECT type FROM pragma_table_info('Users') WHERE name=?";
  if (sqlite3_prepare_v2(session_->GetConnection(), sql, -1, &statement,
                         nullptr) != SQLITE_OK)
    return QString();
  const QByteArray name = column.toUtf8();
  sqlite3_bind_text(statement, 1, name.constData(), int(name.size()),
                    SQLITE_TRANSIENT);
  QString type;
  if (sqlite3_step(statement) == SQLITE_ROW)
    type = QString::fromUtf8(
        reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
  sqlite3_finalize(statement);
  return type;
}
