// The filter pane on a copy of the household template: ticking with the
// keyboard and the select-all button, pending and immediate hints, and the
// template commands with the prompt answering.
#include "window/pane_tool_bar.h"
#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "groups/filter_set_store.h"
#include "window/filter_grid_rules.h"
#include "groups/ui/pane_filter_grid.h"
#include "groups/ui/show_filter_pane.h"
#include "support/pane_test_window.h"
#include "support/property_find.h"

#include <QComboBox>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

const QList<unsigned> kSeven{7};

class FilterPaneTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Valid());
    pane_ = std::make_unique<CShowFilterPane>(&window_);
    pane_->resize(300, 700);
    pane_->show();
    pane_->OnChangeNotify(0xFFFF);
    ASSERT_TRUE(window_.TakeHints().isEmpty()) << "a rebuild sends nothing";
  }

  PropertyItem &Root() { return pane_->FilterGrid()->Root(); }
  PropertyItem *Item(const QString &caption) { return FindProperty(Root(), caption); }
  QTreeView *View() { return pane_->FilterGrid()->View(); }
  QToolButton *Button(int id) { return pane_->ToolBar()->Button(id); }
  bool RowHidden(PropertyItem *item) {
    return View()->isRowHidden(item->Row(),
                               pane_->FilterGrid()->IndexOf(item->Parent()));
  }
  // Ticks or unticks a box the way a user does: Space on its row.
  void PressSpaceOn(PropertyItem *item) {
    View()->setFocus();
    View()->setCurrentIndex(pane_->FilterGrid()->IndexOf(item));
    QTest::keyClick(View(), Qt::Key_Space);
  }
  QString Where() {
    QString where;
    return pane_->GetFilterWhere(where) ? where : QStringLiteral("<failed>");
  }
  QList<FilterSet> Stored() {
    return LoadFilterSets(*window_.Account().Session(), FSC_FILTER_PANE);
  }

  PaneTestWindow window_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
  std::unique_ptr<CShowFilterPane> pane_;
};

TEST_F(FilterPaneTest, TickingWaitsForApplyUnlessImmediate) {
  PropertyItem *box = Item(QStringLiteral("使用[类别]筛选"));
  ASSERT_NE(box, nullptr);
  PropertyItem *food = Item(QStringLiteral("餐饮"));
  EXPECT_TRUE(RowHidden(food));
  EXPECT_FALSE(pane_->ImmediateUpdate());

  PressSpaceOn(box);
  EXPECT_TRUE(box->checked);
  EXPECT_FALSE(RowHidden(food));
  EXPECT_TRUE(pane_->FilterGrid()->ButtonOf(box)->isEnabled());
  EXPECT_TRUE(window_.TakeHints().isEmpty());
  EXPECT_EQ(Where(), QStringLiteral("([Category] In ('餐饮','交通','购物','居住','医疗','其他'))"));

  PressSpaceOn(food);
  EXPECT_TRUE(window_.TakeHints().isEmpty());
  QTest::mouseClick(Button(CSorvanBasePane::ID_APPLY), Qt::LeftButton);
  EXPECT_EQ(window_.TakeHints(), kSeven) << "two changes, one hint";
  EXPECT_FALSE(Button(CSorvanBasePane::ID_APPLY)->isEnabled());

  QTest::mouseClick(Button(CSorvanBasePane::ID_IMMEDIATE_UPDATE), Qt::LeftButton);
  PressSpaceOn(food);
  EXPECT_EQ(window_.TakeHints(), kSeven);
}

TEST_F(FilterPaneTest, ADateRangeSwitchedOnCoversTheRecordsInWholeDays) {
  ASSERT_TRUE(window_.Account().Session()->Execute(
      "Insert Into Users (ID, Data, trelva_Group_ID) Values (1, #2024/3/5 14:00:00#, 2)"));
  ASSERT_TRUE(window_.Account().Session()->Execute(
      "Insert Into Users (ID, Data, trelva_Group_ID) Values (2, #2024/6/30 9:30:00#, 2)"));
  PressSpaceOn(Item(QStringLiteral("使用[日期]筛选")));
  PropertyItem *entry = Item(QStringLiteral("使用[日期]筛选"))->Parent();
  PropertyItem *start = entry->Child(1);
  PropertyItem *end = entry->Child(2);
  EXPECT_EQ(start->date, QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0)));
  EXPECT_EQ(end->date, QDateTime(QDate(2024, 6, 30), QTime(23, 59, 59)));
  // A date picked keeps no time of day: the end date covers its whole day.
  end->date = QDateTime(QDate(2024, 4, 1), QTime(8, 15, 0));
  emit pane_->FilterGrid()->ValueChanged(end);
  EXPECT_EQ(end->date, QDateTime(QDate(2024, 4, 1), QTime(23, 59, 59)));
}

// Dates typed into the range read as the records grid reads them: a day
// alone covers its whole day, a time typed with it is kept, and a text that
// is no date is refused once and changes nothing.
TEST_F(FilterPaneTest, DatesTypedIntoTheRangeReadAsTheGridReadsThem) {
  PressSpaceOn(Item(QStringLiteral("使用[日期]筛选")));
  PropertyItem *start = Item(QStringLiteral("起始日期"));
  PropertyItem *end = Item(QStringLiteral("终止日期"));
  auto typeInto = [&](PropertyItem *item, const char *typed) {
    View()->setFocus();
    View()->setCurrentIndex(pane_->FilterGrid()->IndexOf(item));
    QTest::keyClick(View(), Qt::Key_F2);
    QWidget *editor = View()->indexWidget(pane_->FilterGrid()->IndexOf(item, 1));
    if (!editor)
      return;
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QString::fromUtf8(typed));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] {
      return !View()->indexWidget(pane_->FilterGrid()->IndexOf(item, 1));
    })) << typed;
  };
  const struct {
    bool atEnd;
    const char *typed;
    QDateTime date; // invalid: refused
  } cases[] = {
      {true, "2024/6/30", QDateTime(QDate(2024, 6, 30), QTime(23, 59, 59))},
      {false, "2024-03-05", QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
      {false, "20240306", QDateTime(QDate(2024, 3, 6), QTime(0, 0))},
      {true, "2024/6/29 12:00", QDateTime(QDate(2024, 6, 29), QTime(12, 0))},
      {false, "2024/3/7 8:30:15", QDateTime(QDate(2024, 3, 7), QTime(8, 30, 15))},
      {false, "3/5/2024", QDateTime()},
      {true, "2024/6/31", QDateTime()},
  };
  for (const auto &c : cases) {
    PropertyItem *item = c.atEnd ? end : start;
    const QDateTime before = item->date;
    prompt_.Clear();
    typeInto(item, c.typed);
    if (c.date.isValid()) {
      EXPECT_EQ(item->date, c.date) << c.typed;
      EXPECT_TRUE(prompt_.Texts().isEmpty()) << c.typed;
    } else {
      EXPECT_TRUE(QTest::qWaitFor([&] { return !prompt_.Texts().isEmpty(); }));
      EXPECT_EQ(prompt_.Texts(), QStringList{"日期格式不正确"}) << c.typed;
      EXPECT_EQ(item->date, before) << c.typed;
    }
  }
  EXPECT_EQ(Where(), QStringLiteral("(([Data] >= #2024/3/7 8:30:15# And "
                                    "[Data] <= #2024/6/29 12:00:00#))"));
}

TEST_F(FilterPaneTest, SelectAllButtonSendsOneChangePerPress) {
  pane_->SetImmediateUpdate(true);
  PropertyItem *box = Item(QStringLiteral("使用[支付方式]筛选"));
  PressSpaceOn(box);
  window_.TakeHints();
  QToolButton *selectAll = pane_->FilterGrid()->ButtonOf(box);
  ASSERT_NE(selectAll, nullptr);

  QTest::mouseClick(selectAll, Qt::LeftButton);
  EXPECT_EQ(window_.TakeHints(), kSeven);
  EXPECT_EQ(selectAll->text(), QStringLiteral("选择全部"));
  EXPECT_FALSE(Item(QStringLiteral("现金"))->checked);
  EXPECT_EQ(Where(), QStringLiteral("<failed>"));
  QString where = QStringLiteral("stale");
  EXPECT_FALSE(pane_->GetConditionText(where));
  EXPECT_TRUE(where.isEmpty()) << "no part of a failed filter is used";

  QTest::mouseClick(selectAll, Qt::LeftButton);
  EXPECT_EQ(window_.TakeHints(), kSeven);
  EXPECT_EQ(selectAll->text(), QStringLiteral("取消全部"));
  EXPECT_TRUE(Item(QStringLiteral("信用卡"))->checked);
}

TEST_F(FilterPaneTest, TemplatesSaveOverwriteRestoreChooseAndDelete) {
  QComboBox *box = pane_->TemplateBox();
  PressSpaceOn(Item(QStringLiteral("使用[项目]筛选")));
  Item(QStringLiteral("字符串筛选条件"))->text = QStringLiteral("O'Brien");

  prompt_.QueueText(QStringLiteral("只看项目"));
  QTest::mouseClick(Button(CSorvanMemoryPane::ID_SAVE_TEMPLATE), Qt::LeftButton);
  EXPECT_EQ(prompt_.Last(), QStringLiteral("输入模板名称"));
  EXPECT_EQ(box->count(), 1);
  EXPECT_EQ(box->currentText(), QStringLiteral("只看项目"));

  PressSpaceOn(Item(QStringLiteral("使用[项目]筛选"))); // off again
  prompt_.QueueText(QStringLiteral("全部"));
  pane_->SaveTemplate();
  EXPECT_EQ(prompt_.LastStart(), QStringLiteral("只看项目"));
  prompt_.QueueText(QStringLiteral("只看项目")); // the same name overwrites
  box->setCurrentIndex(0);
  PressSpaceOn(Item(QStringLiteral("使用[项目]筛选"))); // on
  pane_->SaveTemplate();
  ASSERT_EQ(Stored().size(), 2);
  EXPECT_EQ(box->count(), 2);
  window_.TakeHints();

  // A rebuild (another window saved, the options changed) selects the first
  // template and restores it without a hint.
  pane_->OnChangeNotify(HINT_FILTERS);
  EXPECT_TRUE(window_.TakeHints().isEmpty());
  EXPECT_EQ(box->currentIndex(), 0);
  EXPECT_EQ(Where(), QStringLiteral("(([Item] = 'O''Brien'))"));

  // Choosing the other one by keyboard applies it and sends 7.
  pane_->NotifyChange(7);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Down);
  EXPECT_EQ(box->currentText(), QStringLiteral("全部"));
  EXPECT_EQ(window_.TakeHints(), kSeven);
  EXPECT_FALSE(pane_->ChangePending());
  EXPECT_EQ(Where(), QString());

  prompt_.QueueAnswer(0);
  QTest::mouseClick(Button(CSorvanMemoryPane::ID_DELETE_TEMPLATE), Qt::LeftButton);
  EXPECT_EQ(prompt_.Last(), QStringLiteral("确定删除模板【全部】么？"));
  EXPECT_EQ(box->count(), 2) << "no keeps it";
  prompt_.QueueAnswer(1);
  pane_->DeleteTemplate();
  EXPECT_EQ(box->count(), 1);
  EXPECT_EQ(Stored().size(), 1);
  EXPECT_EQ(window_.TakeHints(), kSeven) << "the first remaining one applied";
  EXPECT_EQ(Where(), QStringLiteral("(([Item] = 'O''Brien'))"));

  prompt_.QueueAnswer(1);
  pane_->DeleteTemplate();
  EXPECT_EQ(box->count(), 0);
  EXPECT_EQ(Where(), QStringLiteral("(([Item] = 'O''Brien'))")) << "grid unchanged";
  pane_->DeleteTemplate(); // nothing selected: nothing asked
  EXPECT_EQ(prompt_.Last(), QStringLiteral("确定删除模板【只看项目】么？"));
}

TEST_F(FilterPaneTest, EmptyNameOrFailedWriteLeavesTheBoxAsItWas) {
  prompt_.QueueText(QString());
  pane_->SaveTemplate();
  prompt_.QueueText(std::nullopt);
  pane_->SaveTemplate();
  EXPECT_EQ(pane_->TemplateBox()->count(), 0);
  EXPECT_TRUE(Stored().isEmpty());

  ASSERT_TRUE(window_.Account().Session()->Execute(QStringLiteral("Drop Table FilterMemory")));
  prompt_.QueueText(QStringLiteral("新模板"));
  pane_->SaveTemplate();
  EXPECT_EQ(pane_->TemplateBox()->count(), 0);
  EXPECT_EQ(pane_->Templates().Size(), 0);
}

} // namespace
