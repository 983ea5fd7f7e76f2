// Building a record row: from the grid, from the database, and the defaults
// of a new row.
#include "records/row_item.h"

#include "db/db_visiter.h"
#include "model/column_list.h"
#include "records/record_file.h"
#include "records/record_grid.h"
#include "records/record_key.h"

namespace {

FieldValueItem ItemOfColumn(const ColumnDef &column, const QString &text) {
  FieldValueItem item;
  item.type = column.type;
  item.fieldName = column.fieldName;
  item.text = text;
  item.defaultFormula = column.defaultValue;
  return item;
}

CRowItem RowOfFile(RecordFile &file, int gridRow, const RecordGrid *grid) {
  const ColumnList &columns = file.Columns();
  CRowItem row;
  row.accountFile = &file;
  row.keyIndex = unsigned(columns.KeyPosition());
  row.columnCount = unsigned(columns.Size());
  row.gridRow = gridRow;
  row.gridNumber = grid ? grid->GridNumber() : 0;
  return row;
}

} // namespace

CRowItem CRowItem::ReadFromGrid(RecordFile &file, int gridRow,
                                const RecordGrid *grid) {
  CRowItem row = RowOfFile(file, gridRow, grid);
  const ColumnList &columns = file.Columns();
  for (int i = 0; i < columns.Size(); ++i) {
    const QString text = grid ? grid->CellText(i - 1, gridRow) : QString();
    row.items.append(ItemOfColumn(columns.At(i), text));
  }
  row.groupId = grid ? grid->RowGroupId(gridRow) : 0;
  return row;
}

CRowItem CRowItem::EmptyRow(RecordFile &file, int groupId) {
  CRowItem row = RowOfFile(file, -1, nullptr);
  for (const ColumnDef &column : file.Columns().All())
    row.items.append(ItemOfColumn(column, QString()));
  row.groupId = groupId;
  return row;
}

bool CRowItem::LoadFromDatabase(int key, int groupId) {
  CDBVisiter *session = accountFile ? accountFile->Session() : nullptr;
  if (!session)
    return false;
  const ColumnList &columns = accountFile->Columns();
  const QString sql =
      QStringLiteral("SELECT * FROM Users WHERE %1=%2 And [trelva_Group_ID]=%3")
          .arg(columns.KeyFieldName())
          .arg(key)
          .arg(groupId);
  if (session->Query(sql) == 0)
    return false;
  TakeCurrentRow(*session);
  return true;
}

bool CRowItem::LoadInsertedRow() {
  CDBVisiter *session = accountFile ? accountFile->Session() : nullptr;
  if (!session || session->QueryInsertedRow(QStringLiteral("Users")) == 0)
    return false;
  TakeCurrentRow(*session);
  return true;
}

void CRowItem::TakeCurrentRow(CDBVisiter &session) {
  // The row takes the layout the file has now: after the options sheet
  // changed the columns, a row made before would otherwise read columns
  // that are no longer in the list.
  const ColumnList &columns = accountFile->Columns();
  // Items after the row's columns are of columns the grid does not show
  // (the number a bill gave an imported record): they stay with the row,
  // read as stored, so that undo and redo keep them.
  FieldValueRow hidden;
  if (columnCount > 0 && items.size() > qsizetype(columnCount))
    for (const FieldValueItem &item : items.mid(columnCount))
      if (columns.PositionOf(item.fieldName) < 0)
        hidden.append(item);
  keyIndex = unsigned(columns.KeyPosition());
  columnCount = unsigned(columns.Size());
  // A row of the current layout is filled in place, without a new list.
  if (items.size() != columns.Size()) {
    items.clear();
    items.resize(columns.Size());
  }
  for (int i = 0; i < columns.Size(); ++i) {
    const ColumnDef &column = columns.At(i);
    items[i] = ItemOfColumn(column, session.GetString(column.fieldName));
  }
  for (FieldValueItem &item : hidden) {
    item.text = session.GetString(item.fieldName);
    items.append(item);
  }
  groupId = session.GetInt(QStringLiteral("trelva_Group_ID"));
  textsAsStored = true;
}

bool CRowItem::TakeStoredTexts(const QStringList &texts) {
  const ColumnList &columns = accountFile->Columns();
  if (columnCount != unsigned(columns.Size()) ||
      items.size() < columns.Size() || texts.size() != items.size() + 1)
    return false;
  for (int i = 0; i < columns.Size(); ++i)
    if (items[i].fieldName != columns.At(i).fieldName)
      return false;
  // As TakeCurrentRow: items after the columns stay only while no column
  // of the list has their name.
  for (qsizetype i = columns.Size(); i < items.size(); ++i)
    if (columns.PositionOf(items[i].fieldName) >= 0)
      return false;
  for (int i = 0; i < columns.Size(); ++i)
    items[i] = ItemOfColumn(columns.At(i), texts[i]);
  for (qsizetype i = columns.Size(); i < items.size(); ++i)
    items[i].text = texts[i];
  keyIndex = unsigned(columns.KeyPosition());
  textsAsStored = true;
  return true;
}

QStringList CRowItem::ItemNames() const {
  QStringList names;
  names.reserve(items.size());
  for (const FieldValueItem &item : items)
    names.append(item.fieldName);
  return names;
}

CRowItem CRowItem::Reload() const {
  CRowItem copy = *this;
  copy.LoadFromDatabase(KeyValue(), groupId);
  return copy;
}

int CRowItem::KeyValue() const {
  if (keyIndex >= unsigned(items.size()))
    return 0;
  return KeyFromText(items[keyIndex].text);
}

bool CRowItem::SetKeyValue(int n) {
  if (keyIndex >= unsigned(items.size()))
    return false;
  items[keyIndex].text = QString::number(n);
  textsAsStored = false;
  return true;
}

bool CRowItem::SetFirstOfType(unsigned type, const QString &text) {
  for (FieldValueItem &item : items) {
    if (item.type == type) {
      item.text = text;
      textsAsStored = false;
      return true;
    }
  }
  return false;
}

bool CRowItem::AutomaticItemGiven(unsigned type) const {
  for (const FieldValueItem &item : items)
    if (item.type == type)
      return !item.text.isEmpty();
  return false;
}

bool CRowItem::SetAutomaticDate(const QString &text) {
  return SetFirstOfType(FT_AUTODATE, text);
}

bool CRowItem::SetAutomaticTime(const QString &text) {
  return SetFirstOfType(FT_AUTOTIME, text);
}

FieldValueItem *CRowItem::Item(const QString &fieldName) {
  for (FieldValueItem &item : items)
    if (item.fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
      return &item;
  return nullptr;
}

bool CRowItem::IsSameRecord(const CRowItem &other) const {
  return groupId == other.groupId && KeyValue() == other.KeyValue();
}

void CRowItem::FillNewRowDefaults(int newKey) {
  FillNewRowDefaults(newKey, QDateTime::currentDateTime());
}

void CRowItem::FillNewRowDefaults(int newKey, const QDateTime &now) {
  FillNewRowDefaults(newKey, AutomaticDateText(now.date()),
                     AutomaticTimeText(now.time()));
}

QString CRowItem::AutomaticDateText(const QDate &date) {
  return QStringLiteral("%1/%2/%3")
      .arg(date.year())
      .arg(date.month())
      .arg(date.day());
}

QString CRowItem::AutomaticTimeText(const QTime &time) {
  return QStringLiteral("%1:%2:%3")
      .arg(time.hour())
      .arg(time.minute())
      .arg(time.second());
}

void CRowItem::FillNewRowDefaults(int newKey, const QString &dateText,
                                  const QString &timeText) {
  textsAsStored = false;
  SetKeyValue(newKey);
  // A date or time the user gave wins over the automatic one.
  if (!AutomaticItemGiven(FT_AUTODATE))
    SetAutomaticDate(dateText);
  if (!AutomaticItemGiven(FT_AUTOTIME))
    SetAutomaticTime(timeText);
  for (FieldValueItem &item : items) {
    if (!item.text.isEmpty())
      continue;
    item.text = item.defaultFormula;
    item.applyingDefault = true;
  }
}
