// The checks before the column changes are written: a refusal names its
// reason once, writes nothing and keeps every change pending.
#include "base/scripted_prompt.h"
#include "model/pending_column_changes.h"
#include "support/test_file.h"

#include <gtest/gtest.h>

namespace {

TEST(PendingColumnChangesTest, RefusalsWriteNothingAndKeepTheChangesPending) {
  TestFile file;
  ASSERT_TRUE(file.Valid());
  ScriptedPrompt prompt;
  ScopedPrompt scoped(prompt);
  const QStringList before = file.Rows("Select * From TableStyle Order By ID");
  PendingColumnChanges changes;
  ASSERT_TRUE(changes.Load(file.Session()));
  ASSERT_EQ(changes.Loaded().size(), before.size());

  ColumnDef unnamed;
  unnamed.id = changes.NextId();
  unnamed.type = FT_INTEGER;
  changes.Add(unnamed);
  EXPECT_FALSE(changes.Apply(file.Session()));
  EXPECT_EQ(prompt.Texts(), QStringList{QStringLiteral("字段名不能为空！")});

  // Without a key column nothing is written either.
  changes.Delete(unnamed.id);
  const int key = changes.Loaded().first().id;
  ASSERT_EQ(changes.Loaded().first().type, FT_KEY);
  changes.Change(key)->type = FT_INTEGER;
  prompt.Clear();
  EXPECT_FALSE(changes.Apply(file.Session()));
  EXPECT_EQ(prompt.Texts(), QStringList{QStringLiteral("必须有一个主键！")});
  EXPECT_EQ(file.Rows("Select * From TableStyle Order By ID"), before);
  EXPECT_EQ(changes.Changed().size(), 1);
}

} // namespace
