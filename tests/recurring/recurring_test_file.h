// The fixture of the recurring record tests: a fresh copy of the household
// template (columns ID, Data (automatic date), Moment, Category, Payment,
// Amount, Count, Total = Amount*Count, Item, Memo; groups 2 to 5) opened as
// an AccountFile with a scripted prompt.
#pragma once

#include "base/scripted_prompt.h"
#include "document/account_file.h"
#include "recurring/recurring_record.h"
#include "support/scoped_current_dir.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class RecurringTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Monthly rent of group 2 from first: Category=居住, Amount=3000.
  static RecurringRecord Rent(const QDate &first);
  // Every row of sql on file_, its cells joined by '|'.
  QStringList Rows(const QString &sql);
  // The records of group 2 as "Data|Category|Amount|Total|Item".
  QStringList Records();
  // Closes file_ and opens it again.
  void Reopen();

  QTemporaryDir dir_;
  ScopedCurrentDir inDir_{dir_.path()};
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
  QString path_;
  AccountFile file_;
};
