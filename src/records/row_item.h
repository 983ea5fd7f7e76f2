// One record of table Users in memory, and everything that moves it between
// the records grid, memory and the database.
//
// A record is identified by its key together with its group: keys are unique
// only within a group, so every statement on a single record names both. A
// CRowItem is a value; copying it copies its items and its scalar fields.
// The undo history keeps copies, the grid's clipboard keeps a list of them.
//
// The methods are defined in two files: row_item.cpp builds a row (from the
// grid, from the database, the defaults of a new row) and row_statements.cpp
// stores it (the INSERT, UPDATE and DELETE statements and telling the grid).
#pragma once

#include "db/db_visiter.h"
#include "formula/field_value_item.h"

#include <QDateTime>
#include <QString>

#include <vector>

class RecordFile;
class RecordGrid;

class CRowItem {
public:
  // Item i belongs to column i of the file's column list.
  FieldValueRow items;
  // The file whose column list and session every statement uses.
  RecordFile *accountFile = nullptr;
  // The first key column, or 0 when there is none.
  unsigned keyIndex = 0;
  // The number of columns when the row was made.
  unsigned columnCount = 0;
  // The registration number of the grid the row was read from (0 for
  // none). Every grid registered with the file shows each stored change;
  // this one gets gridRow as a hint of where.
  int gridNumber = 0;
  // The grid row the row was read from or is to be shown at. It is not kept
  // up to date when other rows move; the grid searches by key and group
  // when the row no longer shows this record.
  int gridRow = -1;
  // The value of trelva_Group_ID.
  int groupId = 0;
  // Set while the texts are those the file holds for this record (loaded
  // from it, or read from record cells of the grid, which keep the stored
  // texts): storing such a row again needs no read-back. The setters below
  // clear it.
  bool textsAsStored = false;

  // The row shown at gridRow: each column's stored text read from its
  // cell, the group from the row (0 when none). In the grid's new-record
  // row every text is empty until typed, the key included.
  static CRowItem ReadFromGrid(RecordFile &file, int gridRow,
                               const RecordGrid *grid);
  // A row of file in groupId with every text empty and no grid: what the
  // new-record row of that group holds before anything is typed.
  static CRowItem EmptyRow(RecordFile &file, int groupId);

  // Replaces the items and the group by the stored record (key, groupId).
  // False, with the row unchanged, when there is no such record.
  bool LoadFromDatabase(int key, int groupId);
  // Replaces the items and the group by the record the last INSERT on the
  // file's session stored; false, with the row unchanged, when there is
  // none.
  bool LoadInsertedRow();
  // A copy of this row loaded from the database by its key and group; when
  // the record is missing the copy keeps this row's values.
  CRowItem Reload() const;

  // The key item's text as an integer; 0 when there is no key item.
  int KeyValue() const;
  // Sets the key item's text to n; false when there is no key item.
  bool SetKeyValue(int n);
  // Set the first automatic date (time) item only; false when there is none.
  bool SetAutomaticDate(const QString &text);
  bool SetAutomaticTime(const QString &text);
  // The item of the column with that field name (case-insensitive), or null.
  FieldValueItem *Item(const QString &fieldName);
  // Whether both rows address the same record: same key, same group.
  bool IsSameRecord(const CRowItem &other) const;

  // The defaults of a new row: the key, the automatic date and time of now
  // (no leading zeros: 2010/5/3 and 9:5:7) where the row holds none yet,
  // and the default formula in every empty item, marked as applying its
  // default. The caller then evaluates the row (EvaluateRow).
  void FillNewRowDefaults(int newKey);
  void FillNewRowDefaults(int newKey, const QDateTime &now);
  // The same with the automatic date and time texts already made (many
  // records of one moment).
  void FillNewRowDefaults(int newKey, const QString &dateText,
                          const QString &timeText);
  static QString AutomaticDateText(const QDate &date);
  static QString AutomaticTimeText(const QTime &time);

  // The statements on table Users for this row.
  QString InsertStatement() const;
  QString UpdateStatement() const;
  QString KeyCondition() const;
  QString DeleteStatement() const;

  // Run the statement; on success take the texts as stored (what the
  // literal rules made of them), show the change in every grid registered
  // with the file and return true. A failure shows "失败！" and shows
  // nothing. An update or delete that finds no record to change is a
  // failure too: undo must never write a record that is not there.
  bool InsertIntoDatabase();
  bool UpdateInDatabase();
  bool DeleteFromDatabase();

private:
  enum ShowKind { ShowInsert, ShowUpdate, ShowRemove };

  bool SetFirstOfType(unsigned type, const QString &text);
  // Whether the first item of that type already holds a text.
  bool AutomaticItemGiven(unsigned type) const;
  // Takes the items and the group from the session's current row.
  void TakeCurrentRow(CDBVisiter &session);
  // Takes texts (one per item, then the group's) as the stored texts of a
  // row of the file's current layout; false, with the row unchanged, when
  // the layout has changed since the row was made.
  bool TakeStoredTexts(const QStringList &texts);
  // The field names of the items, in order.
  QStringList ItemNames() const;
  // After an insert of values (empty when the statement ran as text): the
  // texts as stored, known by the session or read back.
  void TakeInsertedRow(const std::vector<BoundValue> &values);
  bool RunStatement(const QString &sql, bool mustChangeRow) const;
  // Runs InsertStatement through the session's prepared statement, with
  // the values it bound (the group's last).
  CDBVisiter::InsertOutcome InsertBound(std::vector<BoundValue> &values) const;
  void ShowInGrids(ShowKind kind) const;
};
