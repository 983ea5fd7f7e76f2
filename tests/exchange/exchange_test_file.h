// The fixture of the import and export tests: a fresh copy of the household
// template (columns ID, Data, Moment, Category, Payment, Amount, Count,
// Total = Amount*Count, Item, Memo; groups 2 to 5) opened as an AccountFile
// with a scripted prompt, and the statement files of data/.
#pragma once

#include "base/scripted_prompt.h"
#include "document/account_file.h"
#include "support/scoped_current_dir.h"

#include <QStringList>

struct ImportCheck;
#include <QTemporaryDir>

#include <gtest/gtest.h>

class ExchangeTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A statement file of data/.
  static QString Data(const QString &name);
  // A path in the test's folder.
  QString TempPath(const QString &name) const;
  // Writes bytes to a file in the test's folder; its path.
  QString WriteFile(const QString &name, const QByteArray &bytes) const;
  // An XLSX bill in the test's folder: two lines of account data, an empty
  // row, the header 交易日期|摘要|金额|备注 on row 4, then three lines
  // (2024-01-05..07 in a date format, no 备注) each followed by an empty
  // row; its path.
  QString WriteXlsxBill(const QString &name) const;
  // Opens a fresh copy of a template (the household one unless named) as
  // other.
  void OpenFresh(AccountFile &other, const QString &name,
                 const QString &templateName = QStringLiteral("家庭账本"));

  // Every row of sql on file, its cells joined by '|'.
  static QStringList Rows(AccountFile &file, const QString &sql);
  // The records of a group as "Data|Item|Amount|Count|Total|Memo".
  static QStringList Records(AccountFile &file, int groupId);
  // "line state reason" of each line of a check, the state a letter: N new
  // (ticked), n new not ticked, D duplicate, S skipped, B bad.
  static QStringList States(const ImportCheck &check);

  QTemporaryDir dir_;
  ScopedCurrentDir inDir_{dir_.path()};
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
  AccountFile file_;
};
