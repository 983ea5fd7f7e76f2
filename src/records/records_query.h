// The query of the records a records grid shows, and reading its rows: the
// records of one group under the filter, by key, each row as the texts of
// the file's columns in list order. The grid calls this for every active
// group; an export of records asks for the same text.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

class CDBVisiter;
class ColumnList;

// "Select * From Users Where <where> Order By [<keyField>]", without the
// condition when where is blank.
QString RecordsQueryText(const QString &where, const QString &keyField);
// The query of one group's records narrowed by the filter's WHERE text
// (empty for no filter), ordered by keyField.
QString GroupRecordsQueryText(int groupId, const QString &filterWhere,
                              const QString &keyField);

class RecordsQuery {
public:
  RecordsQuery(CDBVisiter &session, const ColumnList &columns);

  // Runs sql on the session and positions on its first row; the number of
  // rows, 0 for none or a failure (Failed tells the two apart). Result
  // columns are matched to the list's by field name once here.
  int Run(const QString &sql);
  bool Failed() const { return failed_; }

  // Reads the current row's texts into the buffer and steps to the next
  // row; false, and every text empty, when no row was current. The buffer
  // is reused from row to row: no string per cell on a page of thousands
  // of rows.
  bool ReadRow();
  // The texts of the row read last laid end to end: text i (column i of
  // the list) ends at Ends()[i]; a column the result lacks is empty.
  const QString &Chars() const { return chars_; }
  const std::vector<quint32> &Ends() const { return ends_; }
  // Text i of the row read last.
  QStringView Text(int column) const;

private:
  CDBVisiter &session_;
  const ColumnList &columns_;
  std::vector<int> positions_; // result position per list column, or -1
  QString chars_;
  std::vector<quint32> ends_;
  bool failed_ = false;
  bool current_ = false;
};
