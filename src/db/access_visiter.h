// The database session over SQLite: every statement passes the Jet dialect
// adapter (jet_dialect.h) and runs on one connection to the account file.
//
// Durability: the file keeps SQLite's rollback journal ("journal_mode=
// DELETE") with synchronous=FULL, and every statement is its own
// transaction, committed before Execute returns. A process killed at any
// moment leaves the file (plus, at worst, a hot "-journal" beside it that
// the next open rolls back) with every statement that returned true. WAL is
// not used: its side files would be missed by a plain file copy, and
// between sessions the account file is a single, self-contained file.
#pragma once

#include "db/db_visiter.h"

#include <memory>

class SessionSchema;

class CAccessVisiter : public CDBVisiter {
public:
  // ReadOnly opens the file read-only and never writes to it: for
  // commands that only read, and for files nobody may write.
  enum Access { ReadWrite, ReadOnly };
  explicit CAccessVisiter(const QString &dataSource, Access access = ReadWrite);
  ~CAccessVisiter() override;

  // Opens the file (never creating it) and checks that it is an account
  // file (db/account_check.h). A file that fails is left exactly as it was,
  // and so is any file opened ReadOnly. Texts compare as Jet compares them
  // (jet_collation.h); a file made before that comparison has its text
  // indexes rebuilt once, when opened ReadWrite. A file that cannot be
  // written is refused for ReadWrite.
  bool Open() override;
  bool IsReadOnly() const override { return readOnly_; }
  bool NeedsUpgrade() const override;
  int Query(const QString &sql) override;
  int QueryReadOnly(const QString &sql) override;
  bool Execute(const QString &sql) override;
  bool FindUnconvertibleValue(const QString &sql, QString &value) override;
  int QueryTable(const QString &table) override;
  unsigned Count(const QString &table, QString where) override;
  bool GetValue(QVariant &out, int position, bool step) override;
  bool GetValue(QVariant &out, const QString &name, bool step) override;
  QString GetString(const QString &name) override;
  QString GetString(int position) override;
  void AppendString(int position, QString &out) override;
  int GetInt(const QString &name) override;
  int GetInt(int position) override;
  bool GetBool(const QString &name) override;
  bool GetBool(int position) override;
  double GetDouble(const QString &name) override;
  double GetDouble(int position) override;
  int GetFieldNames(QStringList &names) override;

private:
  // The position of a readable column of the current row, or -1.
  int CurrentColumn(int position) const;
  int CurrentColumn(const QString &name) const;
  bool FailOpen(int code, const QString &problem = {});
  // The settings and the one-time rebuild of a session that writes.
  bool PrepareForWriting();
  int RunQuery(const QString &sql, bool readOnly);
  int FailQuery(const QString &error);

  bool readOnly_;

  // The tables' integer columns, for the values INSERT and UPDATE write.
  std::unique_ptr<SessionSchema> schema_;
};
