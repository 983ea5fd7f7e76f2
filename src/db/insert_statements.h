// Adding rows through INSERT statements prepared once per list of columns.
//
// Adding records is the one statement a user action may run thousands of
// times (an import, a paste, the undo of a deletion), and parsing an INSERT
// costs more than storing its row. So the session keeps one prepared INSERT
// per table, column list and kind of value, and binds each row's values.
//
// A row stores exactly what the Jet INSERT with the same literals stores:
// a text as the text between its quotes, a date as its canonical text, a
// number as SQLite reads the literal's text (jet_number; whole numbers are
// bound as integers directly), a value of an integer column through
// jet_integer as the adapter writes it. Whatever the cache cannot prepare
// (a table or column that is not there) is left to the caller, which then
// runs the statement as text and so gets the engine's own message.
#pragma once

#include "db/bound_value.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class InsertedTexts;
class SessionSchema;
struct sqlite3;
struct sqlite3_stmt;

class InsertStatements {
public:
  enum Outcome { Stored, Failed, NotPrepared };

  InsertStatements(sqlite3 *db, SessionSchema *schema);
  ~InsertStatements();
  InsertStatements(const InsertStatements &) = delete;
  InsertStatements &operator=(const InsertStatements &) = delete;

  // Inserts one row of values[i] into columns[i] of table. Failed leaves
  // nothing of the row in the file and the engine's message in error.
  Outcome Insert(const QString &table, const QStringList &columns,
                 const std::vector<BoundValue> &values, QString *error);
  // After Insert stored values: the texts of the row as the session reads
  // them back, one per column, when they are known without reading the row
  // (inserted_texts.h); false otherwise.
  bool StoredTexts(const std::vector<BoundValue> &values,
                   QStringList *texts) const;
  // After Insert stored values and the row was read back: remembers what
  // was read, texts one per column.
  void LearnStoredTexts(const std::vector<BoundValue> &values,
                        const QStringList &texts);

private:
  struct Entry {
    QString table;
    QStringList columns;
    std::vector<bool> numbers;
    sqlite3_stmt *statement = nullptr;
    // What the rows it stores read back as, and the count of preparations
    // of the statement that was made for.
    std::unique_ptr<InsertedTexts> texts;
    int prepared = 0;
  };

  Entry *Find(const QString &table, const QStringList &columns,
              const std::vector<BoundValue> &values);
  sqlite3_stmt *Prepare(const QString &table, const QStringList &columns,
                        const std::vector<bool> &numbers);
  // Makes entry's texts again when its statement was prepared again since.
  void KnowTexts(Entry &entry);
  void Clear();

  sqlite3 *db_;
  SessionSchema *schema_;
  unsigned generation_ = 0;
  std::vector<Entry> entries_;
  // The entry of the last row stored, or null.
  Entry *last_ = nullptr;
};

