// Account files for tests: a fresh file in a temporary folder, its tables
// made from Jet statements the way template files are made, then opened
// through the session factory.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class CDBVisiter;

class TestFile {
public:
  // Runs statements in order on a new file and opens its session; Valid()
  // tells whether all of that succeeded (a failed statement also fails the
  // running test).
  explicit TestFile(const QStringList &statements = CurrentLayout());
  ~TestFile();
  TestFile(const TestFile &) = delete;
  TestFile &operator=(const TestFile &) = delete;

  bool Valid() const { return valid_; }
  CDBVisiter &Session() const { return *session_; }
  const QString &Path() const { return path_; }

  // Every row of sql, its cells read with GetString and joined by "|".
  QStringList Rows(const QString &sql) const;
  // The first cell of the first row of sql; empty when there is none.
  QString Cell(const QString &sql) const;
  // The declared SQL type of a column of Users as the engine keeps it.
  QString DeclaredType(const QString &column) const;

  // The tables of an account file of the current layout, with the columns
  // ID (key), Data (auto date), Moment (auto time), Item (text), Kind
  // (options), Amount (float), Count (integer), Memo and a disabled column
  // Hidden; one settings row, the view 主视图 and an empty FilterMemory.
  static QStringList CurrentLayout();
  // The tables of the older layout that the filter store reads: ResultShowItem
  // and ResultShowLimit, together with an empty FilterMemory and the four
  // tables every account file has.
  static QStringList OldResultTables();

private:
  QTemporaryDir dir_;
  QString path_;
  CDBVisiter *session_ = nullptr;
  bool valid_ = false;
};
