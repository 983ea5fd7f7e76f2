// The fixture of the record store tests: a fresh copy of the built household
// template (columns ID, Data, Moment, Category, Payment, Amount, Count,
// Total = Amount*Count, Item, Memo; groups 2 to 5 in folder 1) opened as an
// AccountFile, with a scripted prompt and a listener counting hints.
#pragma once

#include "base/scripted_prompt.h"
#include "groups/group_node.h"
#include "document/account_file.h"
#include "support/scoped_current_dir.h"
#include "records/row_item.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>


class HintLog : public AccountFileListener {
public:
  void Notify(AccountFile &, unsigned hint) override { hints.append(hint); }
  QList<unsigned> hints;
};

class RecordFileTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  CDBVisiter &Session() { return *file_.Session(); }
  // Every row of sql, its cells joined by '|'.
  QStringList Rows(const QString &sql);
  // The records as "group|key|Item|Amount|Count|Total|Memo", by group, key.
  QStringList Records();
  // The records of one group as "key|Item|Amount|Count|Total|Memo".
  QStringList Records(int groupId);
  // Runs SQL on the file's SQLite connection directly, bypassing the
  // session: triggers that make chosen statements fail.
  void RawSql(const char *sql);
  GroupNode &Group(int id);

  // A row made as the grid makes a typed new row: the given texts, the next
  // key of the group, the automatic date and time, defaults and formulas.
  CRowItem NewRow(int groupId,
                  const QList<QPair<QString, QString>> &texts,
                  RecordGrid *grid = nullptr);
  // The stored record, loaded; fails the test when it is missing.
  CRowItem StoredRow(int key, int groupId);

  QTemporaryDir dir_;
  ScopedCurrentDir inDir_{dir_.path()};
  QString path_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
  AccountFile file_;
  HintLog hints_;
};
