// The settings row and the named views: loading, defaults, and the
// statements of the options sheet with quotes in every text.
#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "model/misc_settings.h"
#include "model/view_list.h"
#include "support/test_file.h"

#include <gtest/gtest.h>

namespace {

class SettingsViewsTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(file_.Valid()); }

  QStringList ViewRows() {
    return file_.Rows("Select SortIndex, ItemName, ItemSql From ViewMap Order "
                      "By SortIndex");
  }

  TestFile file_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

TEST_F(SettingsViewsTest, SettingsRowAndItsDefaults) {
  MiscSettings settings = LoadMiscSettings(file_.Session());
  EXPECT_EQ(settings.mainShowTip, "共 {Select Count(*) From Users} 笔");
  EXPECT_FALSE(settings.gridAutoSize);
  EXPECT_TRUE(settings.expandColumnsToFit);
  EXPECT_FALSE(settings.showLastLine);

  ASSERT_TRUE(file_.Session().Execute("Delete * From miscellaneous"));
  settings = LoadMiscSettings(file_.Session());
  EXPECT_TRUE(settings.mainShowTip.isEmpty());
  EXPECT_TRUE(settings.gridAutoSize);
  EXPECT_FALSE(settings.expandColumnsToFit);
  EXPECT_TRUE(settings.showLastLine);
  // The row is never inserted: an update of no row changes nothing.
  EXPECT_TRUE(UpdateMiscSettings(file_.Session(), settings));
  EXPECT_TRUE(file_.Rows("Select * From miscellaneous").isEmpty());
  // Saving inserts the missing row once, then updates it.
  settings.mainShowTip = QStringLiteral("O'Brien");
  ASSERT_TRUE(SaveMiscSettings(file_.Session(), settings));
  settings.showLastLine = false;
  ASSERT_TRUE(SaveMiscSettings(file_.Session(), settings));
  EXPECT_EQ(file_.Rows("Select MainShowTip, bShowLastLine From miscellaneous"),
            QStringList{"O'Brien|0"});
}

TEST_F(SettingsViewsTest, UpdateStoresATipWithQuotesAsTyped) {
  MiscSettings settings;
  settings.mainShowTip =
      QStringLiteral("O'Brien: {Select Count(*) From Users Where Item='a'}");
  settings.gridAutoSize = false;
  settings.expandColumnsToFit = true;
  settings.showLastLine = true;
  ASSERT_TRUE(UpdateMiscSettings(file_.Session(), settings));
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Last());
  const MiscSettings back = LoadMiscSettings(file_.Session());
  EXPECT_EQ(back.mainShowTip, settings.mainShowTip);
  EXPECT_FALSE(back.gridAutoSize);
  EXPECT_TRUE(back.expandColumnsToFit);
  EXPECT_TRUE(back.showLastLine);
}

TEST_F(SettingsViewsTest, LoadViewsKeepsOrderAndHistory) {
  ASSERT_TRUE(file_.Session().Execute(
      "Insert Into ViewMap (SortIndex,ItemSql,ItemName) Values (0,'Select "
      "ID From Users','编号')"));
  ViewList list;
  list.history.append(ViewItem{"编号", "Select ID From Users"});
  list.history.append(ViewItem{"其他", "x"});
  list.views.append(ViewItem{"stale", "y"});
  LoadViews(file_.Session(), list);
  ASSERT_EQ(list.views.size(), 2);
  EXPECT_EQ(list.views[0].name, "编号");
  EXPECT_EQ(list.views[1].name, "主视图");
  // The first view moves to the end of the history and becomes current.
  ASSERT_EQ(list.history.size(), 2);
  EXPECT_EQ(list.history[0].name, "其他");
  EXPECT_EQ(list.history[1].name, "编号");
  EXPECT_EQ(list.current, 1);

  ASSERT_TRUE(file_.Session().Execute("Delete * From ViewMap"));
  LoadViews(file_.Session(), list);
  EXPECT_TRUE(list.views.isEmpty());
  EXPECT_EQ(list.history.size(), 2);
}

TEST_F(SettingsViewsTest, SaveViewUpdatesOrAppends) {
  ASSERT_TRUE(SaveView(file_.Session(), {"月报", "Select * From Users"}));
  ASSERT_TRUE(SaveView(file_.Session(), {"季报", "Select 2"}));
  // An existing name keeps its place and takes the new SQL.
  ASSERT_TRUE(SaveView(file_.Session(), {"主视图", "Select Item From Users"}));
  EXPECT_EQ(ViewRows(), (QStringList{"1|主视图|Select Item From Users",
                                     "2|月报|Select * From Users",
                                     "3|季报|Select 2"}));
}

TEST_F(SettingsViewsTest, FirstViewOfAnEmptyTableGetsIndexOne) {
  ASSERT_TRUE(file_.Session().Execute("Delete * From ViewMap"));
  ASSERT_TRUE(SaveView(file_.Session(), {"主视图", "Select * From Users"}));
  EXPECT_EQ(ViewRows(), QStringList{"1|主视图|Select * From Users"});
}

TEST_F(SettingsViewsTest, QuotesInViewNamesAndSql) {
  const ViewItem view{"O'Brien's", "Select * From Users Where Item='it''s'"};
  ASSERT_TRUE(SaveView(file_.Session(), view));
  ASSERT_TRUE(SaveView(file_.Session(), view)); // found again by its name
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Last());
  ViewList list;
  LoadViews(file_.Session(), list);
  ASSERT_EQ(list.views.size(), 2);
  EXPECT_EQ(list.views[1], view);

  // A name that would widen the condition if it were not quoted.
  ASSERT_TRUE(DeleteView(file_.Session(), "x' Or '1'='1"));
  EXPECT_EQ(ViewRows().size(), 2);
  ASSERT_TRUE(DeleteView(file_.Session(), view.name));
  EXPECT_EQ(ViewRows().size(), 1);
  // Deleting a view that does not exist succeeds and changes nothing.
  EXPECT_TRUE(DeleteView(file_.Session(), "无此视图"));
  EXPECT_EQ(ViewRows().size(), 1);
}

} // namespace
