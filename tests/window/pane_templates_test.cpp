// The saved templates of a pane kind against a real file: titles in file
// order, overwriting by title, other kinds left alone, and a list that
// changes only when the file did.
#include "window/pane_templates.h"
#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "groups/filter_set_store.h"
#include "support/pane_test_window.h"

#include <gtest/gtest.h>

namespace {

QList<FilterCondition> Conditions(const QString &field) {
  FilterCondition condition;
  condition.fieldName = field;
  condition.numbers = {1, 2};
  return {condition};
}

class PaneTemplatesTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(window_.Valid()); }
  CDBVisiter &Session() { return *window_.Account().Session(); }

  PaneTestWindow window_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

TEST_F(PaneTemplatesTest, SavesByTitleAndReloadsInFileOrder) {
  PaneTemplates bar(FSC_BAR_SETUP);
  EXPECT_EQ(bar.Save(Session(), QStringLiteral("乙"), Conditions("Amount")), 0);
  EXPECT_EQ(bar.Save(Session(), QStringLiteral("O'Brien"), Conditions("Count")), 1);
  EXPECT_EQ(bar.Save(Session(), QStringLiteral("乙"), Conditions("Total")), 0)
      << "the same title overwrites";
  PaneTemplates pie(FSC_PIE_SETUP);
  EXPECT_EQ(pie.Save(Session(), QStringLiteral("丙"), {}), 0);

  PaneTemplates again(FSC_BAR_SETUP);
  again.Reload(&Session());
  EXPECT_EQ(again.Titles(), (QStringList{"乙", "O'Brien"}));
  EXPECT_EQ(again.At(0).conditions, Conditions("Total"));
  EXPECT_EQ(again.IndexOf(QStringLiteral("O'Brien")), 1);
  EXPECT_EQ(again.IndexOf(QStringLiteral("o'brien")), -1);

  EXPECT_TRUE(again.Remove(Session(), 0));
  EXPECT_EQ(again.Titles(), QStringList{QStringLiteral("O'Brien")});
  EXPECT_EQ(LoadFilterSets(Session(), FSC_BAR_SETUP).size(), 1);
  EXPECT_FALSE(again.Remove(Session(), 5));
  again.Reload(nullptr);
  EXPECT_EQ(again.Size(), 0) << "no file, no templates";
}

TEST_F(PaneTemplatesTest, AFailedWriteLeavesTheListAsItWas) {
  PaneTemplates filter(FSC_FILTER_PANE);
  ASSERT_EQ(filter.Save(Session(), QStringLiteral("甲"), Conditions("Amount")), 0);
  ASSERT_TRUE(Session().Execute(QStringLiteral("Drop Table FilterMemory")));
  prompt_.Clear();

  EXPECT_EQ(filter.Save(Session(), QStringLiteral("新"), {}), -1);
  EXPECT_EQ(filter.Save(Session(), QStringLiteral("甲"), Conditions("Count")), -1);
  EXPECT_FALSE(filter.Remove(Session(), 0));
  EXPECT_EQ(filter.Titles(), QStringList{QStringLiteral("甲")});
  EXPECT_EQ(filter.At(0).conditions, Conditions("Amount"));
  EXPECT_FALSE(prompt_.Texts().isEmpty()) << "the session said why";
}

} // namespace
