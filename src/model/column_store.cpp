// Statements on TableStyle and the matching ALTER TABLE statements on Users.
#include "model/column_store.h"

#include "db/alter_column.h"
#include "db/db_visiter.h"
#include "db/unit_of_work.h"
#include "model/column_def.h"
#include "model/column_list.h"
#include "model/field_type.h"
#include "model/sql_text.h"

namespace {

int Flag(bool value) { return value ? 1 : 0; }

// The statement that gives the Users column of column its new type.
QString AlterUsersColumn(const ColumnDef &column) {
  return QString::asprintf("Alter Table Users Alter Column [%s] %s",
                           SqlArg(column.fieldName).constData(),
                           SqlArg(SqlTypeName(column.type)).constData());
}

// The type TableStyle stores for column.id; -1 without such a row.
int StoredType(CDBVisiter &session, int id) {
  if (session.Query(QString::asprintf(
          "Select ID, [数据类型] From TableStyle Where ID=%d", id)) == 0)
    return -1;
  return session.GetInt(QStringLiteral("数据类型"));
}

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
  UnitOfWork unit(&session);
  if (!unit.IsOpen() || !session.Execute(insert) ||
      !AddUsersColumn(session, column))
    return false;
  return unit.Commit();
}

bool UpdateColumn(CDBVisiter &session, const ColumnDef &column) {
  const int storedType = StoredType(session, column.id);
  if (storedType < 0)
    return InsertColumn(session, column);
  const QString update = QString::asprintf(
      "Update TableStyle SET [编号]=%d,[字段名]='%s',[标题]='%s',[选项]='%s',"
      "[数据类型]=%d,[启用]=%d,[只读]=%d, [宽度]=%d, [默认值]='%s' Where "
      "ID=%d",
      column.order, QuotedSqlArg(column.fieldName).constData(),
      QuotedSqlArg(column.title).constData(),
      QuotedSqlArg(column.options).constData(), column.type, Flag(column.enabled),
      Flag(column.readOnly), column.width,
      QuotedSqlArg(column.defaultValue).constData(), column.id);
  if (storedType == column.type)
    return session.Execute(update);
  // The new type in TableStyle and the converted column of Users reach the
  // file together, or neither does: a crash in between would leave every
  // value of the column written as the wrong kind. A value the new type
  // cannot take fails the conversion, and the row keeps all it had.
  UnitOfWork unit(&session);
  return unit.IsOpen() && session.Execute(update) &&
         session.Execute(AlterUsersColumn(column)) && unit.Commit();
}

QString TypeChangeRefusal(CDBVisiter &session, const ColumnDef &column) {
  const int storedType = StoredType(session, column.id);
  QString value;
  if (storedType < 0 || storedType == column.type ||
      !session.FindUnconvertibleValue(AlterUsersColumn(column), value))
    return QString();
  const QString caption = column.title.isEmpty() ? column.fieldName : column.title;
  return ConversionFailureText(caption, value, FieldTypeName(column.type));
}

int CountStoredValues(CDBVisiter &session, const QString &fieldName) {
  return int(session.Count(QStringLiteral("Users"),
                           QStringLiteral("[%1] Is Not Null").arg(fieldName)));
}

bool DeleteColumn(CDBVisiter &session, const ColumnDef &column) {
  const QString drop = QString::asprintf("Alter Table Users drop Column [%s]",
                                         SqlArg(column.fieldName).constData());
  UnitOfWork unit(&session);
  return unit.IsOpen() && session.Execute(drop) &&
         session.Execute(QString::asprintf("Delete * From TableStyle Where ID=%d",
                                           column.id)) &&
         unit.Commit();
}
