// The database session: the one object through which the system reads and
// writes an account file.
//
// Callers hand it Jet SQL text exactly as the account file statements are
// written; the concrete session (CAccessVisiter) translates that dialect for
// SQLite. A session serves one file for the whole time the file is open and
// keeps one current result (the rows of the last Query), which the typed
// readers and MoveNext work on. Execute and Count never disturb it.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class InsertStatements;
struct BoundValue;
class QIODevice;
struct sqlite3;
struct sqlite3_stmt;
class ResultSet;

class CDBVisiter {
public:
  explicit CDBVisiter(const QString &dataSource);
  virtual ~CDBVisiter();
  CDBVisiter(const CDBVisiter &) = delete;
  CDBVisiter &operator=(const CDBVisiter &) = delete;

  // Connects to the data source; shows "打开数据库失败！\r\n错误代码:%s" and
  // returns false when the file cannot be opened as an account file.
  virtual bool Open() = 0;
  // Replaces the current result by the rows of sql and positions on the
  // first row; the number of rows, 0 for no rows or a failure (silent:
  // QueryError tells the two apart).
  virtual int Query(const QString &sql) = 0;
  // Query for statements that come from the file itself: one that could
  // change anything (write, attach, pragma, transaction control) is not run
  // but fails, with "该语句会修改账簿文件，已拒绝执行" as its QueryError.
  virtual int QueryReadOnly(const QString &sql) = 0;
  // Why the last Query or QueryReadOnly failed (the engine's text); empty
  // when it ran, whether or not it found rows.
  virtual QString QueryError() const { return queryError_; }
  // Runs one statement that returns no rows; on failure shows the engine's
  // text and returns false, with nothing of the statement applied.
  virtual bool Execute(const QString &sql) = 0;
  // For an "Alter Table … Alter Column" statement: the first stored value
  // of the column that its new type cannot take, as its text; false when
  // every value converts, or sql is no such statement. Writes nothing.
  virtual bool FindUnconvertibleValue(const QString &sql, QString &value) {
    (void)sql, (void)value;
    return false;
  }
  // The number of rows the last Execute inserted, changed or deleted (rows
  // changed by triggers not counted); 0 after a failure and after a
  // statement that changes no rows.
  int ChangedRows() const { return changedRows_; }
  virtual sqlite3 *GetConnection() const;
  // Query of "SELECT * FROM %s".
  virtual int QueryTable(const QString &table) = 0;
  // "SELECT COUNT(*) FROM %s" or "... where %s"; shows "查询失败！" and gives
  // 0 on failure. Runs on a result of its own.
  virtual unsigned Count(const QString &table, QString where) = 0;
  // Copies the raw value of a column of the current row; with step, moves to
  // the next row afterwards. False when no row was current, else whether a
  // row is current at the end.
  virtual bool GetValue(QVariant &out, int position, bool step) = 0;
  virtual bool GetValue(QVariant &out, const QString &name, bool step) = 0;
  // Typed readers of the current row; they never move. With no current row
  // they give empty text, 0, false and 0.0.
  virtual QString GetString(const QString &name) = 0;
  virtual QString GetString(int position) = 0;
  // GetString(position) appended to out: a page reading thousands of cells
  // makes no string per cell.
  virtual void AppendString(int position, QString &out) {
    out += GetString(position);
  }
  virtual int GetInt(const QString &name) = 0;
  virtual int GetInt(int position) = 0;
  virtual bool GetBool(const QString &name) = 0;
  virtual bool GetBool(int position) = 0;
  virtual double GetDouble(const QString &name) = 0;
  virtual double GetDouble(int position) = 0;
  // Appends the column names of the current result; the list's new size.
  virtual int GetFieldNames(QStringList &names) = 0;
  // Steps to the next row; true while a row is current.
  virtual bool MoveNext();
  // Replaces the current result by the row that the last successful INSERT
  // on this connection added to table, read by its rowid; the number of
  // rows: 1, or 0 when there is none. The statement is prepared once and
  // kept while it reads the same table, so this costs far less than a Query
  // of the same row.
  int QueryInsertedRow(const QString &table);
  // Inserts one row through a statement prepared once for this table, these
  // columns and these kinds of value (insert_statements.h): what the Jet
  // INSERT of the same literals would store. Stored and Failed behave as
  // Execute does (a failure shows the engine's text and stores nothing);
  // NotPrepared means the session has no such statement and the caller
  // runs the INSERT as text instead.
  enum InsertOutcome { InsertStored, InsertFailed, InsertNotPrepared };
  InsertOutcome InsertRow(const QString &table, const QStringList &columns,
                          const std::vector<BoundValue> &values);
  // Right after InsertRow stored values: the texts the typed readers would
  // give for the row's columns, when they are known without reading the row
  // (inserted_texts.h); false when the row must be read back. Learn tells
  // the session what was read back then, so that the same values are known
  // the next time.
  bool InsertedRowTexts(const std::vector<BoundValue> &values,
                        QStringList *texts) const;
  void LearnInsertedRowTexts(const std::vector<BoundValue> &values,
                             const QStringList &texts);

  bool IsConnectionOpen() const;
  bool IsResultOpen() const;
  void CloseResult();
  bool Close();
  int GetEditMode() const;
  bool Update();
  bool CancelUpdate();
  // Stores the whole stream (from its current position) into a long binary
  // column of the current row as a pending edit; Update commits it.
  bool WriteBlob(QIODevice &stream, const QString &column);
  // Writes the stored bytes of a long binary column of the current row to
  // the stream, read in chunks of 100 bytes; the number of bytes.
  int ReadBlob(const QString &column, QIODevice &stream);
  // The named column of the current result: its attribute bits (0x80 for a
  // long value: long binary or memo), -1 when there is no such column; the
  // size in bytes of its value in the current row, -1 without one.
  int GetFieldAttributes(const QString &column) const;
  int GetFieldActualSize(const QString &column) const;

  // A unit of work: the statements between BeginTransaction and
  // CommitTransaction reach the file together or, after
  // RollbackTransaction or a crash, not at all. Units nest.
  bool BeginTransaction();
  bool CommitTransaction();
  void RollbackTransaction();
  // Whether a unit of work is open but the engine has rolled the whole
  // transaction back by itself, as SQLite does after some failures (a full
  // disk, an I/O error). Until every open unit is ended nothing more is
  // written: a statement run now would be committed on its own, outside the
  // unit it belongs to. Statements and commits fail then.
  bool TransactionLost() const;

  // Whether the session never writes (the file was opened read-only).
  virtual bool IsReadOnly() const { return false; }
  // Whether the file needs writing before the program can use it as it
  // should: the schema upgrade, or the rebuild of its text indexes.
  virtual bool NeedsUpgrade() const { return false; }

  const QString &DataSource() const { return dataSource_; }

protected:
  sqlite3 *connection_ = nullptr;
  std::unique_ptr<ResultSet> result_;
  QString dataSource_;
  int connectionTimeout_ = 5;
  int changedRows_ = 0;
  QString queryError_;
  // The units of work begun and not yet committed or rolled back.
  int openUnits_ = 0;
  // Made by a session that can prepare inserts; dropped before the
  // connection closes.
  std::unique_ptr<InsertStatements> inserts_;

private:
  // The kept statement of QueryInsertedRow and the table it reads.
  sqlite3_stmt *insertedRow_ = nullptr;
  QString insertedRowTable_;
  quint64 insertedRowNumber_ = 0;
};
