// The options sheet on real account files: the column grid's rules and its
// apply, the named views, the general page, and the sheet's order of
// applying and reloading.
#include "app/options/configure_page.h"
#include "app/options/general_config.h"
#include "app/options/general_page.h"
#include "app/options/option_grid_ctrl.h"
#include "app/options/setup_prop_sheet.h"
#include "app/options/view_config.h"
#include "app/startup_settings.h"
#include "app_test_env.h"
#include "db/db_visiter.h"
#include "document/account_file.h"
#include "model/column_store.h"
#include "records/command_history.h"
#include "support/query_rows.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

const QString kHousehold = QStringLiteral("家庭账本");

class OptionsTest : public AppTest {
protected:
  void SetUp() override {
    path_ = Copy(kHousehold, "账");
    ASSERT_TRUE(file_.OpenAccountFile(path_));
  }
  void TearDown() override { file_.Close(); }

  CDBVisiter &Session() { return *file_.Session(); }
  QStringList Rows(const QString &sql) { return QueryRows(Session(), sql); }
  // The grid row showing field name field.
  static int RowOf(const COptionGridCtrl &grid, const QString &field) {
    for (int row = 0; row < grid.GetNumberRows(); ++row)
      if (grid.QuickGetText(COptionGridCtrl::kField, row) == field)
        return row;
    return -1;
  }

  QString path_;
  AccountFile file_;
};

TEST_F(OptionsTest, GridListsEveryDefinitionWithItsStoredWidth) {
  ASSERT_TRUE(Session().Execute(
      "Update TableStyle Set [启用]=false, [宽度]=5 Where ID=10"));
  COptionGridCtrl grid;
  ASSERT_TRUE(grid.Load(Session()));
  ASSERT_EQ(grid.GetNumberRows(), 11);
  EXPECT_EQ(grid.QuickGetText(COptionGridCtrl::kId, 10), QStringLiteral("*"));
  const int memo = RowOf(grid, "Memo");
  ASSERT_EQ(memo, 9);
  EXPECT_EQ(grid.QuickGetText(COptionGridCtrl::kEnabled, memo), "0");
  EXPECT_EQ(grid.QuickGetText(COptionGridCtrl::kWidth, memo), "5");
  EXPECT_EQ(grid.QuickGetText(COptionGridCtrl::kType, RowOf(grid, "Amount")),
            QStringLiteral("浮点型"));
  EXPECT_EQ(grid.QuickGetCellType(COptionGridCtrl::kEnabled, 0), CT_CHECKBOX);
  EXPECT_EQ(grid.QuickGetCellType(COptionGridCtrl::kType, 0), CT_DROPLIST);
  EXPECT_EQ(grid.GetFormat(COptionGridCtrl::kTitle, 3).backColor, 0x00FCAB8Fu);
}

TEST_F(OptionsTest, EditRulesRefuseWithTheirMessages) {
  COptionGridCtrl grid;
  ASSERT_TRUE(grid.Load(Session()));
  auto edit = [&](int col, int row, const QString &text) {
    prompt_.Clear();
    grid.OnCellValueChanged(col, row, text);
    return prompt_.Last();
  };
  const int item = RowOf(grid, "Item");
  EXPECT_EQ(edit(COptionGridCtrl::kTitle, item, "trelva_group_id"),
            QStringLiteral("不能使用此字段名！"));
  EXPECT_EQ(grid.QuickGetText(COptionGridCtrl::kTitle, item), QStringLiteral("项目"));
  EXPECT_EQ(edit(COptionGridCtrl::kField, item, "Thing"),
            QStringLiteral("不能更改已经存在的字段名！"));
  EXPECT_EQ(edit(COptionGridCtrl::kType, 0, "整型"),
            QStringLiteral("暂不支持主键类型的修改！"));
  EXPECT_EQ(edit(COptionGridCtrl::kType, item, "主键"), QStringLiteral("只能有一个主键！"));
  EXPECT_EQ(edit(COptionGridCtrl::kWidth, item, "wide"), QStringLiteral("请输入一个整数！"));
  prompt_.Clear();
  grid.OnCheckChanged(COptionGridCtrl::kEnabled, 0, false);
  EXPECT_EQ(prompt_.Last(), QStringLiteral("主键必须启用！"));
  EXPECT_EQ(grid.QuickGetText(COptionGridCtrl::kEnabled, 0), "1");
  EXPECT_FALSE(grid.Modified());

  // A text column keeps its type code when another of its cells changes.
  EXPECT_EQ(edit(COptionGridCtrl::kTitle, item, "项目名"), QString());
  ASSERT_EQ(grid.Pending().Changed().size(), 1);
  EXPECT_EQ(grid.Pending().Changed()[0].type, 3);
  EXPECT_EQ(grid.Pending().Changed()[0].title, QStringLiteral("项目名"));

  // The "*" row becomes a definition with the next ID and a fresh "*" row.
  const int marker = grid.MarkerRow();
  EXPECT_EQ(edit(COptionGridCtrl::kField, marker, "Shop"), QString());
  EXPECT_EQ(grid.QuickGetText(COptionGridCtrl::kId, marker), "11");
  EXPECT_EQ(grid.QuickGetText(COptionGridCtrl::kType, marker), QStringLiteral("整型"));
  EXPECT_EQ(grid.QuickGetText(COptionGridCtrl::kId, grid.MarkerRow()), "*");
  ASSERT_EQ(grid.Pending().Added().size(), 1);
  // It comes after the other columns (an empty 编号 would make it the row
  // heading) and is as wide as its caption, not a sliver.
  EXPECT_EQ(grid.QuickGetText(COptionGridCtrl::kOrder, marker), "11");
  EXPECT_EQ(edit(COptionGridCtrl::kTitle, marker, "购物地点和商店名称"), QString());
  EXPECT_GT(grid.Pending().Added()[0].width, QFontMetrics(QApplication::font()).horizontalAdvance("购物地点和商店名称"));
  // A new row's name is checked when its edit ends: unique ignoring case
  // (as the engine compares), not empty, no "]".
  EXPECT_EQ(edit(COptionGridCtrl::kField, marker, "amount"), QStringLiteral("字段名不能重复！"));
  EXPECT_EQ(edit(COptionGridCtrl::kField, marker, ""), QStringLiteral("字段名不能为空！"));
  EXPECT_EQ(edit(COptionGridCtrl::kField, marker, "a]b"), QStringLiteral("字段名中不能有“]”！"));
  EXPECT_EQ(edit(COptionGridCtrl::kField, marker, "Shop2"), QString());
  EXPECT_EQ(grid.Pending().Added()[0].fieldName, QStringLiteral("Shop2"));
}

TEST_F(OptionsTest, LossyTypeChangesOfFilledColumnsAskFirst) {
  ASSERT_TRUE(Session().Execute(
      "Insert Into Users (ID, Amount, Item, trelva_Group_ID) Values (1, 2.5, 'x', 2)"));
  COptionGridCtrl grid;
  ASSERT_TRUE(grid.Load(Session()));
  grid.SetValueCounter([&](const QString &field) { return CountStoredValues(Session(), field); });
  const int amount = RowOf(grid, "Amount");
  prompt_.QueueAnswer(0);
  grid.OnCellValueChanged(COptionGridCtrl::kType, amount, QStringLiteral("整型"));
  EXPECT_TRUE(prompt_.Last().contains(QStringLiteral("可能丢失数据")));
  EXPECT_EQ(grid.QuickGetText(COptionGridCtrl::kType, amount), QStringLiteral("浮点型"));
  prompt_.Clear();
  // To text nothing is lost; an empty column has nothing to lose.
  grid.OnCellValueChanged(COptionGridCtrl::kType, amount, QStringLiteral("文本"));
  EXPECT_TRUE(prompt_.Texts().isEmpty());
  grid.OnCellValueChanged(COptionGridCtrl::kType, RowOf(grid, "Memo"),
                          QStringLiteral("整型"));
  EXPECT_TRUE(prompt_.Texts().isEmpty());
  prompt_.QueueAnswer(1);
  grid.OnCellValueChanged(COptionGridCtrl::kType, RowOf(grid, "Item"),
                          QStringLiteral("日期"));
  EXPECT_EQ(grid.QuickGetText(COptionGridCtrl::kType, RowOf(grid, "Item")),
            QStringLiteral("日期"));
}

TEST_F(OptionsTest, OptionControlsFollowTheirColumnAndDeletingClearsThem) {
  COptionGridCtrl grid;
  ASSERT_TRUE(grid.Load(Session()));
  int told = 0;
  grid.optionsChanged = [&] { ++told; };
  const int category = RowOf(grid, "Category");
  grid.SelectOptionRow(category);
  EXPECT_EQ(grid.OptionValues().size(), 6);
  EXPECT_FALSE(grid.AddOption(QStringLiteral("餐饮")));
  EXPECT_FALSE(grid.AddOption(QString()));
  EXPECT_TRUE(grid.AddOption(QStringLiteral("教育")));
  EXPECT_TRUE(grid.DeleteOption(0));
  EXPECT_EQ(grid.Pending().Changed().first().options,
            QStringLiteral("交通|购物|居住|医疗|其他|教育"));
  grid.SelectOptionRow(RowOf(grid, "Item"));
  EXPECT_EQ(grid.OptionColumnId(), -1);
  EXPECT_FALSE(grid.AddOption(QStringLiteral("x")));
  grid.SelectOptionRow(RowOf(grid, "Payment"));
  const int payment = grid.OptionColumnId();
  EXPECT_GE(payment, 0);
  // Deleting a row above moves the rows; the controls are cleared rather
  // than left on whatever row now sits there.
  prompt_.QueueAnswer(1);
  ASSERT_TRUE(grid.DeleteRows({RowOf(grid, "Data")}));
  EXPECT_EQ(grid.OptionColumnId(), -1);
  EXPECT_TRUE(grid.OptionValues().isEmpty());
  EXPECT_GT(told, 3);
}

TEST_F(OptionsTest, DeletingAsksWithTheCountAndSparesTheKey) {
  COptionGridCtrl grid;
  ASSERT_TRUE(grid.Load(Session()));
  EXPECT_FALSE(grid.DeleteRows({0, 1}));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("暂不支持主键类型的修改！"));
  prompt_.QueueAnswer(0);
  EXPECT_FALSE(grid.DeleteRows({7, 8, 9}));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("准备删除3列数据！"));
  EXPECT_EQ(grid.GetNumberRows(), 11);
  prompt_.QueueAnswer(1);
  EXPECT_TRUE(grid.DeleteRows({7, 8, 9, grid.MarkerRow()}));
  EXPECT_EQ(grid.GetNumberRows(), 8);
  EXPECT_EQ(grid.Pending().Deleted().size(), 3);
  ASSERT_TRUE(grid.Apply(Session()));
  EXPECT_EQ(Rows("Select count(*) From TableStyle"), QStringList{"7"});
  EXPECT_FALSE(grid.Pending().HasAny());
}

TEST_F(OptionsTest, AFailedStatementWritesNothingAndKeepsEverythingPending) {
  // A column the file has in Users without a definition: adding a
  // definition of that name fails in the engine.
  ASSERT_TRUE(Session().Execute("Alter Table Users Add Column [Extra] int"));
  COptionGridCtrl grid;
  ASSERT_TRUE(grid.Load(Session()));
  grid.OnCellValueChanged(COptionGridCtrl::kTitle, RowOf(grid, "Item"), "物品");
  grid.OnCellValueChanged(COptionGridCtrl::kField, grid.MarkerRow(), "Extra");
  grid.OnCellValueChanged(COptionGridCtrl::kField, grid.MarkerRow(), "Shop");
  prompt_.Clear();
  EXPECT_FALSE(grid.Apply(Session()));
  // One Chinese message, the engine's text after it.
  ASSERT_EQ(prompt_.Texts().size(), 1);
  EXPECT_TRUE(prompt_.Last().startsWith(QStringLiteral("列的设置未能保存，账簿文件 ")));
  EXPECT_TRUE(prompt_.Last().contains("Extra"));
  // Shop went in first, but nothing of the apply reached the file.
  EXPECT_TRUE(Rows("Select ID From TableStyle Where [字段名]='Shop'").isEmpty());
  EXPECT_TRUE(Rows("Select ID From TableStyle Where [字段名]='Extra'").isEmpty());
  EXPECT_EQ(Rows("Select [标题] From TableStyle Where [字段名]='Item'"),
            QStringList{QStringLiteral("项目")});
  EXPECT_EQ(grid.Pending().Added().size(), 2);
  EXPECT_EQ(grid.Pending().Changed().size(), 1);
  // Once the cause is gone, the same apply writes it all.
  ASSERT_TRUE(Session().Execute("Alter Table Users drop Column [Extra]"));
  EXPECT_TRUE(grid.Apply(Session()));
  EXPECT_EQ(Rows("Select [标题] From TableStyle Where [字段名]='Item'"),
            QStringList{QStringLiteral("物品")});
  EXPECT_EQ(Rows("Select count(*) From TableStyle Where [字段名] In ('Shop', 'Extra')"),
            QStringList{"2"});
  EXPECT_FALSE(grid.Pending().HasAny());
}

TEST_F(OptionsTest, AnUnconvertibleValueRefusesTheWholeApplyAndTheSheetStaysOpen) {
  ASSERT_TRUE(Session().Execute(
      "Insert Into Users (ID, Item, Memo, trelva_Group_ID) Values (1, 'x', '12abc', 2)"));
  auto columns = [&] {
    return Rows("Select * From TableStyle Order By ID") +
           Rows("Select name || ' ' || type From pragma_table_info('Users')");
  };
  const QStringList before = columns();
  StartupSettings startup(Folder());
  CSetUpPropSheet sheet(file_, startup);
  sheet.show();
  sheet.Tabs()->setCurrentIndex(1);
  COptionGridCtrl &grid = sheet.ConfigurePage()->Grid();
  prompt_.QueueAnswer(1); // 可能丢失数据, continue
  grid.OnCellValueChanged(COptionGridCtrl::kType, RowOf(grid, "Memo"), QStringLiteral("整型"));
  prompt_.QueueAnswer(1); // 准备删除1列数据
  ASSERT_TRUE(grid.DeleteRows({RowOf(grid, "Item")}));
  prompt_.Clear();
  sheet.OnOk();
  EXPECT_EQ(prompt_.Texts(), QStringList{QStringLiteral("备注列的值\"12abc\"无法转换为整型")});
  EXPECT_TRUE(sheet.isVisible());
  EXPECT_EQ(sheet.Tabs()->currentIndex(), 1);
  // 项目 is still in the file, as the open document shows it, and the
  // edits wait in the sheet.
  EXPECT_EQ(columns(), before);
  EXPECT_EQ(Rows("Select Item From Users"), QStringList{"x"});
  EXPECT_GE(file_.Columns().PositionOf("Item"), 0);
  EXPECT_EQ(grid.Pending().Deleted().size(), 1);
  EXPECT_EQ(grid.Pending().Changed().size(), 1);
  EXPECT_EQ(RowOf(grid, "Item"), -1);
  sheet.reject();
}

TEST_F(OptionsTest, ViewsChangeByTheSelectedEntryAndCompareIgnoringCase) {
  ViewConfig views(
      {{"主视图", "Select * From Users"}, {"餐饮", "Select * From Users Where Category='餐饮'"}});
  EXPECT_FALSE(views.CanEdit(0));
  EXPECT_FALSE(views.Change(0, "x", "Select 1"));
  EXPECT_FALSE(views.Remove(0, "主视图", "Select * From Users"));
  EXPECT_FALSE(views.Add("餐饮", "Select 2"));
  EXPECT_TRUE(views.Add("Big", "Select * From Users Where Total>100"));
  EXPECT_FALSE(views.Add("BIG", "Select 3"));
  // A change to a name taken by another entry deletes nothing.
  EXPECT_FALSE(views.Change(1, "big", "Select 4"));
  EXPECT_EQ(views.Views().size(), 3);
  EXPECT_TRUE(views.ToDelete().isEmpty());
  // Changing only the SQL moves the view to the end.
  EXPECT_TRUE(views.Change(1, "餐饮", "Select * From Users Where Total>0"));
  EXPECT_EQ(views.Views().last().name, QStringLiteral("餐饮"));
  EXPECT_TRUE(views.Remove(1, "Big", "x"));
  EXPECT_EQ(views.Views().size(), 2);
  ASSERT_TRUE(views.Apply(Session()));
  EXPECT_EQ(Rows("Select ItemName From ViewMap Order By SortIndex"),
            (QStringList{"主视图", "餐饮"}));
  EXPECT_EQ(Rows("Select ItemSql From ViewMap Where ItemName='餐饮'"),
            QStringList{"Select * From Users Where Total>0"});
}

TEST_F(OptionsTest, GeneralPageChecksBeforeWritingAndAddsAMissingRow) {
  StartupSettings startup(Folder());
  GeneralConfig config = LoadGeneralConfig(Session(), startup);
  EXPECT_TRUE(config.settings.mainShowTip.startsWith(QStringLiteral("共 {")));
  config.settings.mainShowTip = QStringLiteral("O'Brien 的账");
  config.defaultPath = dir_.filePath("missing.fz");
  config.pathChanged = true;
  EXPECT_FALSE(ApplyGeneralConfig(Session(), startup, config));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("请指定有效文件路径！"));
  EXPECT_NE(Rows("Select MainShowTip From miscellaneous").value(0),
            QStringLiteral("O'Brien 的账"));
  config.defaultPath = path_;
  config.openDirect = 1;
  EXPECT_TRUE(ApplyGeneralConfig(Session(), startup, config));
  EXPECT_EQ(prompt_.Last(), QStringLiteral("重启软件后文件路径更改生效！"));
  EXPECT_EQ(Rows("Select MainShowTip From miscellaneous"),
            QStringList{QStringLiteral("O'Brien 的账")});
  EXPECT_EQ(startup.DefaultFilePath(), path_);
  EXPECT_EQ(startup.OpenDefaultDirect(), 1);

  ASSERT_TRUE(Session().Execute("Delete * From miscellaneous"));
  GeneralConfig empty = LoadGeneralConfig(Session(), startup);
  EXPECT_FALSE(empty.settings.gridAutoSize);
  empty.settings.mainShowTip = QStringLiteral("新");
  EXPECT_TRUE(ApplyGeneralConfig(Session(), startup, empty));
  EXPECT_EQ(Rows("Select MainShowTip From miscellaneous"), QStringList{"新"});
}

TEST_F(OptionsTest, SheetAppliesShownPagesInOrderAndStaysOnARefusal) {
  StartupSettings startup(Folder());
  CSetUpPropSheet sheet(file_, startup);
  // 配置 was never shown: its edits are not written.
  sheet.ConfigurePage()->Grid().OnCellValueChanged(
      COptionGridCtrl::kTitle, RowOf(sheet.ConfigurePage()->Grid(), "Item"), "物品");
  sheet.GeneralPage()->TitleEdit()->setPlainText(QStringLiteral("标题"));
  ASSERT_TRUE(sheet.ApplyPages());
  EXPECT_EQ(Rows("Select MainShowTip From miscellaneous"), QStringList{"标题"});
  EXPECT_EQ(Rows("Select [标题] From TableStyle Where ID=9"), QStringList{"项目"});
  EXPECT_TRUE(sheet.AnyApplied());

  sheet.Tabs()->setCurrentIndex(1);
  sheet.Tabs()->setCurrentIndex(0);
  sheet.GeneralPage()->PathEdit()->setText(dir_.filePath("nothing.fz"));
  sheet.OnOk();
  EXPECT_EQ(sheet.result(), QDialog::Rejected);
  EXPECT_EQ(sheet.Tabs()->currentIndex(), 0);
  EXPECT_EQ(Rows("Select [标题] From TableStyle Where ID=9"), QStringList{"项目"});
  sheet.GeneralPage()->PathEdit()->setText(path_);
  sheet.OnOk();
  EXPECT_EQ(sheet.result(), QDialog::Accepted);
  EXPECT_EQ(Rows("Select [标题] From TableStyle Where ID=9"), QStringList{"物品"});
}

// An option renamed on 配置 (one gone, one come) keeps its budget.
TEST_F(OptionsTest, ARenamedOptionKeepsItsBudget) {
  ASSERT_TRUE(Session().Execute(
      "Insert Into [Budget] ([SortID], [ByField], [SumField], [Option], "
      "[Month], [Amount]) Values (1, 'Category', 'Total', '购物', '', 300)"));
  StartupSettings startup(Folder());
  CSetUpPropSheet sheet(file_, startup);
  sheet.Tabs()->setCurrentIndex(1);
  COptionGridCtrl &grid = sheet.ConfigurePage()->Grid();
  grid.SelectOptionRow(RowOf(grid, "Category"));
  ASSERT_TRUE(grid.DeleteOption(2));
  ASSERT_TRUE(grid.AddOption(QStringLiteral("网购")));
  ASSERT_TRUE(sheet.ApplyPages());
  EXPECT_EQ(Rows("Select Option, Amount From [Budget]"), QStringList{"网购|300"});
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
}

TEST_F(OptionsTest, ReloadReadsTheColumnsAgainAndClearsTheHistory) {
  ASSERT_TRUE(Session().Execute("Update TableStyle Set [标题]='物品' Where ID=9"));
  file_.History().BeginGroup();
  file_.History().EndGroup();
  struct Listener : AccountFileListener {
    unsigned last = 0;
    void Notify(AccountFile &, unsigned hint) override { last = hint; }
  } listener;
  file_.AddListener(&listener);
  ReloadAfterOptions(file_);
  file_.RemoveListener(&listener);
  EXPECT_EQ(listener.last, 0xFFFFu);
  EXPECT_FALSE(file_.History().CanUndo());
  bool found = false;
  for (int i = 0; i < file_.Columns().Size(); ++i)
    found = found || file_.Columns().At(i).title == QStringLiteral("物品");
  EXPECT_TRUE(found);
}

} // namespace
