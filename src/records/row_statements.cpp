// The INSERT, UPDATE and DELETE statements of a record row, and running them.
//
// Every item is written, the key, automatic and read-only columns included,
// and the group column always comes last. Texts go through the value
// literals of the column list, which double single quotes, so a text such
// as O'Brien is stored as typed and can never change a statement.
#include "records/row_item.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "db/insert_statements.h"
#include "model/column_list.h"
#include "model/field_type.h"
#include "model/value_literal.h"
#include "records/record_file.h"
#include "records/record_grid.h"

namespace {

// The column of the list that item i was made for. Normally that is
// position i. When the options sheet changed the layout after the row was
// made (the undo history outlives such a change), the column is looked up
// by the item's field name so that the value goes to its own column and not
// to whichever column now holds position i; -1 when it is gone.
int ColumnOfItem(const ColumnList &columns, const FieldValueItem &item,
                 int i) {
  if (columns.FieldName(i).compare(item.fieldName, Qt::CaseInsensitive) == 0)
    return i;
  return columns.PositionOf(item.fieldName);
}

QString ItemLiteral(const ColumnList &columns, const FieldValueItem &item,
                    int i) {
  const int position = ColumnOfItem(columns, item, i);
  if (position < 0)
    return TypedLiteral(item.text, int(item.type));
  return ValueLiteral(columns, item.text, position);
}

QString ItemAssignment(const ColumnList &columns, const FieldValueItem &item,
                       int i) {
  const int position = ColumnOfItem(columns, item, i);
  if (position < 0)
    return QStringLiteral("[%1]=%2").arg(item.fieldName,
                                         TypedLiteral(item.text, int(item.type)));
  return ColumnCondition(columns, item.text, position);
}

// An empty date or time is stored as no value: its literal would be a
// fallback date, so storing a record again (after an edit of another
// column, or to undo its deletion) would date it.
bool IsEmptyDate(const FieldValueItem &item) {
  return item.text.isEmpty() && IsDateTimeType(int(item.type));
}

// The SET item of one column of an UPDATE.
QString SetAssignment(const ColumnList &columns, const FieldValueItem &item,
                      int i) {
  if (IsEmptyDate(item))
    return QStringLiteral("[%1]=Null").arg(item.fieldName);
  return ItemAssignment(columns, item, i);
}

// The bound value of item i in place of its literal in InsertStatement.
bool ItemBoundValue(const ColumnList &columns, const FieldValueItem &item,
                    int i, BoundValue *out) {
  if (IsEmptyDate(item)) {
    out->kind = BoundValue::Null;
    return true;
  }
  const int position = ColumnOfItem(columns, item, i);
  const int type = position < 0 ? int(item.type) : columns.At(position).type;
  return TypedBoundValue(item.text, type, out);
}

const ColumnList &EmptyColumns() {
  static const ColumnList none;
  return none;
}

const ColumnList &ColumnsOf(const RecordFile *file) {
  return file ? file->Columns() : EmptyColumns();
}

} // namespace

QString CRowItem::InsertStatement() const {
  const ColumnList &columns = ColumnsOf(accountFile);
  // Names and values are appended in place rather than joined from lists:
  // this runs for every record added, typed or pasted.
  QString names = QStringLiteral("INSERT INTO Users(");
  QString values = QStringLiteral(",[trelva_Group_ID]) VALUES (");
  names.reserve(64 + 16 * items.size());
  values.reserve(64 + 16 * items.size());
  for (int i = 0; i < items.size(); ++i) {
    if (i > 0) {
      names += QLatin1Char(',');
      values += QLatin1Char(',');
    }
    names += QLatin1Char('[') + items[i].fieldName + QLatin1Char(']');
    values += IsEmptyDate(items[i]) ? QStringLiteral("Null")
                                    : ItemLiteral(columns, items[i], i);
  }
  values += QLatin1Char(',') + QString::number(groupId) + QLatin1Char(')');
  return names + values;
}

CDBVisiter::InsertOutcome
CRowItem::InsertBound(std::vector<BoundValue> &values) const {
  CDBVisiter *session = accountFile ? accountFile->Session() : nullptr;
  if (!session)
    return CDBVisiter::InsertNotPrepared;
  const ColumnList &columns = ColumnsOf(accountFile);
  QStringList names;
  values.resize(size_t(items.size()) + 1);
  names.reserve(items.size() + 1);
  for (int i = 0; i < items.size(); ++i) {
    names.append(items[i].fieldName);
    if (!ItemBoundValue(columns, items[i], i, &values[size_t(i)]))
      return CDBVisiter::InsertNotPrepared;
  }
  names.append(QStringLiteral("trelva_Group_ID"));
  values.back() = {BoundValue::Number, QString::number(groupId)};
  return session->InsertRow(QStringLiteral("Users"), names, values);
}

void CRowItem::TakeInsertedRow(const std::vector<BoundValue> &values) {
  CDBVisiter *session = accountFile ? accountFile->Session() : nullptr;
  if (!session)
    return;
  // The values of a prepared insert whose stored texts the session knows
  // need no reading back.
  QStringList texts;
  if (!values.empty() && session->InsertedRowTexts(values, &texts) &&
      TakeStoredTexts(texts))
    return;
  // Else the row is read back by its rowid, through a statement the
  // session keeps prepared, and the session learns what it stored.
  const QStringList bound = ItemNames();
  if (!LoadInsertedRow()) {
    LoadFromDatabase(KeyValue(), groupId);
    return;
  }
  if (values.empty() || ItemNames() != bound)
    return;
  texts.clear();
  for (const FieldValueItem &item : std::as_const(items))
    texts.append(item.text);
  texts.append(QString::number(groupId));
  session->LearnInsertedRowTexts(values, texts);
}

QString CRowItem::KeyCondition() const {
  QString assignment;
  if (keyIndex < unsigned(items.size()))
    assignment = ItemAssignment(ColumnsOf(accountFile), items[keyIndex],
                                int(keyIndex));
  return QStringLiteral("Where %1 And [trelva_Group_ID]=%2")
      .arg(assignment)
      .arg(groupId);
}

QString CRowItem::UpdateStatement() const {
  const ColumnList &columns = ColumnsOf(accountFile);
  QString sql = QStringLiteral("UPDATE Users SET ");
  sql.reserve(128 + 24 * items.size());
  for (int i = 0; i < items.size(); ++i) {
    if (i > 0)
      sql += QLatin1Char(',');
    sql += SetAssignment(columns, items[i], i);
  }
  return sql + QStringLiteral(",[trelva_Group_ID]=") +
         QString::number(groupId) + QLatin1Char(' ') + KeyCondition();
}

QString CRowItem::DeleteStatement() const {
  return QStringLiteral("DELETE * FROM Users ") + KeyCondition();
}

bool CRowItem::RunStatement(const QString &sql, bool mustChangeRow) const {
  CDBVisiter *session = accountFile ? accountFile->Session() : nullptr;
  if (session && session->Execute(sql) &&
      (!mustChangeRow || session->ChangedRows() > 0))
    return true;
  ShowMessage(QStringLiteral("失败！"));
  return false;
}

void CRowItem::ShowInGrids(ShowKind kind) const {
  if (!accountFile)
    return;
  // A grid may be closed by what another grid does; ask the file each time.
  const QList<RecordGrid *> grids = accountFile->Grids();
  for (RecordGrid *grid : grids) {
    if (!accountFile->Grids().contains(grid))
      continue;
    const int hint = grid->GridNumber() == gridNumber ? gridRow : -1;
    switch (kind) {
    case ShowInsert:
      grid->ShowInsertedRow(hint, *this);
      break;
    case ShowUpdate:
      grid->ShowUpdatedRow(hint, *this);
      break;
    case ShowRemove:
      grid->RemoveShownRow(hint, *this);
      break;
    }
  }
}

bool CRowItem::InsertIntoDatabase() {
  // The prepared statement stores what the statement text would; the text
  // is written out only where the session has no prepared form of it.
  std::vector<BoundValue> values;
  switch (InsertBound(values)) {
  case CDBVisiter::InsertStored:
    break;
  case CDBVisiter::InsertFailed:
    ShowMessage(QStringLiteral("失败！"));
    return false;
  case CDBVisiter::InsertNotPrepared:
    values.clear();
    if (!RunStatement(InsertStatement(), false))
      return false;
    break;
  }
  // A row whose texts were not read from the file takes them as stored:
  // this runs for every record added.
  if (!textsAsStored)
    TakeInsertedRow(values);
  ShowInGrids(ShowInsert);
  return true;
}

bool CRowItem::UpdateInDatabase() {
  if (!RunStatement(UpdateStatement(), true))
    return false;
  if (!textsAsStored)
    LoadFromDatabase(KeyValue(), groupId);
  ShowInGrids(ShowUpdate);
  return true;
}

bool CRowItem::DeleteFromDatabase() {
  if (!RunStatement(DeleteStatement(), true))
    return false;
  ShowInGrids(ShowRemove);
  return true;
}
