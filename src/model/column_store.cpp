// Statements on TableStyle and the matching ALTER TABLE statements on Users.
#include "model/column_store.h"

#include "db/db_visiter.h"
#include "model/column_def.h"
#include "model/column_list.h"
#include "model/sql_text.h"

namespace {

int Flag(bool value) { return value ? 1 : 0; }

bool AddUsersColumn(CDBVisiter &session, const ColumnDef &column) {
  return session.Execute(
      QString::asprintf("Alter Table Users Add Column [%s] %s",
                        SqlArg(column.fieldName).constData(),
                        SqlArg(SqlTypeName(column.type)).constData()));
}

} // namespace

ColumnDef ReadColumnDef(CDBVisiter &session) {
  ColumnDef column;
  column.id = session.GetInt(QStringLiteral("ID"));
  column.order = session.GetInt(QStringLiteral("编号"));
  column.width = session.GetInt(QStringLiteral("宽度"));
  column.fieldName = session.GetString(QStringLiteral("字段名"));
  column.title = session.GetString(QStringLiteral("标题"));
  column.options = session.GetString(QStringLiteral("选项"));
  column.defaultValue = session.GetString(QStringLiteral("默认值"));
  column.type = session.GetInt(QStringLiteral("数据类型"));
  column.enabled = session.GetBool(QStringLiteral("启用"));
  column.readOnly = session.GetBool(QStringLiteral("只读"));
  column.ApplyWidthMinimum();
  return column;
}

void LoadColumns(CDBVisiter &session, ColumnList &columns) {
  columns.Clear();
  const QString sql = QStringLiteral(
      "SELECT * FROM TableStyle Where [启用]=true ORDER BY [编号]");
  if (session.Query(sql) <= 0)
    return;
  do {
    columns.Append(ReadColumnDef(session));
  } while (session.MoveNext());
}

bool InsertColumn(CDBVisiter &session, const ColumnDef &column) {
  const QString insert = QString::asprintf(
      "Insert Into TableStyle ([ID], [编号],[字段名],[标题],[选项],[数据类型],"
      "[启用],[只读],[宽度],[默认值]) Values (%d, %d,'%s','%s','%s',%d,%d,%d,"
      "%d,'%s')",
      column.id, column.order, QuotedSqlArg(column.fieldName).constData(),
      QuotedSqlArg(column.title).constData(),
      QuotedSqlArg(column.options).constData(), column.type,
      Flag(column.enabled), Flag(column.readOnly), column.width,
      QuotedSqlArg(column.defaultValue).constData());
  // Both statements or neither: a TableStyle row without its column in
  // Users would make every later record statement fail.
  if (!session.BeginTransaction())
    return false;
  if (!session.Execute(insert) || !AddUsersColumn(session, column)) {
    session.RollbackTransaction();
    return false;
  }
  return session.CommitTransaction();
}

bool UpdateColumn(CDBVisiter &session, const ColumnDef &column) {
  const QString select = QString::asprintf(
      "Select ID, [数据类型] From TableStyle Where ID=%d", column.id);
  if (session.Query(select) == 0)
    return InsertColumn(session, column);
  const int storedType = session.GetInt(QStringLiteral("数据类型"));
  const bool typeChanged = storedType != column.type;

  auto update = [&](int type) {
    return QString::asprintf(
        "Update TableStyle SET [编号]=%d,[字段名]='%s',[标题]='%s',[选项]='%s',"
        "[数据类型]=%d,[启用]=%d,[只读]=%d, [宽度]=%d, [默认值]='%s' Where "
        "ID=%d",
        column.order, QuotedSqlArg(column.fieldName).constData(),
        QuotedSqlArg(column.title).constData(),
        QuotedSqlArg(column.options).constData(), type, Flag(column.enabled),
        Flag(column.readOnly), column.width,
        QuotedSqlArg(column.defaultValue).constData(), column.id);
  };
  if (!typeChanged)
    return session.Execute(update(column.type));
  // The new type in TableStyle and the converted column of Users reach the
  // file together, or neither does: a crash in between would leave every
  // value of the column written as the wrong kind.
  if (!session.BeginTransaction())
    return false;
  const bool updated = session.Execute(update(column.type));
  if (updated &&
      session.Execute(
          QString::asprintf("Alter Table Users Alter Column [%s] %s",
                            SqlArg(column.fieldName).constData(),
                            SqlArg(SqlTypeName(column.type)).constData())))
    return session.CommitTransaction();
  session.RollbackTransaction();
  // The values could not be converted and Users keeps the old type; so does
  // TableStyle, while the column's other settings are taken.
  if (updated)
    session.Execute(update(storedType));
  return false;
}

bool DeleteColumn(CDBVisiter &session, const ColumnDef &column) {
  const QString drop = QString::asprintf("Alter Table Users drop Column [%s]",
                                         SqlArg(column.fieldName).constData());
  if (!session.BeginTransaction())
    return false;
  if (!session.Execute(drop) ||
      !session.Execute(QString::asprintf(
          "Delete * From TableStyle Where ID=%d", column.id))) {
    session.RollbackTransaction();
    return false;
  }
  return session.CommitTransaction();
}
