// Test fixtures of the group and filter tests: a fresh copy of the built
// household template opened as an AccountFile, with a scripted prompt, and a
// session that records the statements it passes on.
#pragma once

#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "groups/group_node.h"
#include "document/account_file.h"
#include "support/scoped_current_dir.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>

class GroupFileTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  CDBVisiter &Session() { return *file_.Session(); }
  // Every row of sql, its cells joined by '|'.
  QStringList Rows(const QString &sql);
  // The rows of [Group] ordered by ID: "ID|parentID|SortID|Title|State|Kind".
  QStringList GroupRows();
  // Stores records with these keys in a group (Amount = key).
  void AddRecords(int groupId, std::initializer_list<int> keys);
  // The keys of a group's records in key order.
  QList<int> RecordKeys(int groupId);
  // Reloads the tree from the file into the open AccountFile.
  void Reload();
  // The node of that ID in the loaded tree; fails the test when absent.
  GroupNode &Node(int id);

  QTemporaryDir dir_;
  ScopedCurrentDir inDir_{dir_.path()};
  QString path_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
  AccountFile file_;
};

// Passes every call on to a real session and records the statements and
// queries it was given, in order.
class RecordingSession : public CDBVisiter {
public:
  explicit RecordingSession(CDBVisiter &inner);

  bool Open() override { return true; }
  sqlite3 *GetConnection() const override { return inner_.GetConnection(); }
  int Query(const QString &sql) override;
  int QueryReadOnly(const QString &sql) override;
  QString QueryError() const override;
  bool Execute(const QString &sql) override;
  int QueryTable(const QString &table) override;
  unsigned Count(const QString &table, QString where) override;
  bool GetValue(QVariant &out, int position, bool step) override;
  bool GetValue(QVariant &out, const QString &name, bool step) override;
  QString GetString(const QString &name) override;
  QString GetString(int position) override;
  int GetInt(const QString &name) override;
  int GetInt(int position) override;
  bool GetBool(const QString &name) override;
  bool GetBool(int position) override;
  double GetDouble(const QString &name) override;
  double GetDouble(int position) override;
  int GetFieldNames(QStringList &names) override;
  bool MoveNext() override;

  QStringList executed; // statements given to Execute
  QStringList queried;  // texts given to Query

private:
  CDBVisiter &inner_;
};
