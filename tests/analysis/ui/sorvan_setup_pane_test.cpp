// The chart set-up panes on a copy of the household template: their own
// rebuild bits and hints, pending option changes, scope boxes that send at
// once, what the charts read, and templates that send when applied.
#include "analysis/ui/sorvan_bar_setup_pane.h"
#include "analysis/ui/sorvan_pie_setup_pane.h"
#include "window/pane_tool_bar.h"
#include "base/scripted_prompt.h"
#include "window/filter_grid_rules.h"
#include "document/account_file.h"
#include "support/pane_test_window.h"
#include "support/property_find.h"
#include "widgets/property_grid.h"

#include <QComboBox>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

class SetUpPaneTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Valid());
    bar_.resize(300, 700);
    bar_.show();
  }

  void PressSpaceOn(CSorvanSetUpPane &pane, PropertyItem *item) {
    QTreeView *view = pane.Grid()->View();
    view->setFocus();
    view->setCurrentIndex(pane.Grid()->IndexOf(item));
    QTest::keyClick(view, Qt::Key_Space);
  }
  PropertyItem *Item(CSorvanSetUpPane &pane, const QString &caption) {
    return FindProperty(pane.Grid()->Root(), caption);
  }

  PaneTestWindow window_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
  CSorvanBarSetUpPane bar_{&window_};
};

TEST_F(SetUpPaneTest, EachPaneRebuildsOnItsOwnBitAndSendsItsOwnHint) {
  EXPECT_EQ(bar_.GetPaneKind(), 2);
  bar_.OnChangeNotify(HINT_PIE_SETTINGS);
  EXPECT_EQ(bar_.Grid()->Root().ChildCount(), 0);
  bar_.OnChangeNotify(HINT_BAR_SETTINGS);
  EXPECT_EQ(bar_.Grid()->Root().ChildCount(), 2);
  // A new pane sums the total (a floating column with a formula), not the key.
  EXPECT_EQ(bar_.SumColumn(), QStringLiteral("Total"));
  EXPECT_TRUE(window_.TakeHints().isEmpty());

  CSorvanPieSetUpPane pie(&window_);
  pie.show();
  EXPECT_EQ(pie.GetPaneKind(), 3);
  pie.OnChangeNotify(HINT_PIE_SETTINGS);
  pie.SetImmediateUpdate(true);
  PressSpaceOn(pie, Item(pie, QStringLiteral("按照[类别]展开")));
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{2});
  ASSERT_EQ(pie.ExpandedColumns().size(), 1);
  EXPECT_EQ(pie.ExpandedColumns()[0].fieldName, QStringLiteral("Category"));
}

TEST_F(SetUpPaneTest, OptionChangesWaitWhileScopeBoxesSendAtOnce) {
  bar_.OnChangeNotify(0xFFFF);
  PropertyItem *toggle = Item(bar_, QStringLiteral("指定[支付方式]汇总类别"));
  ASSERT_NE(toggle, nullptr);
  PressSpaceOn(bar_, toggle);
  PressSpaceOn(bar_, Item(bar_, QStringLiteral("信用卡")));
  EXPECT_TRUE(window_.TakeHints().isEmpty());
  QString where;
  EXPECT_TRUE(bar_.GetSetUpCondition(where));
  EXPECT_EQ(where, QStringLiteral("([Payment] In ('现金','银行卡'))"));

  QComboBox *groups = bar_.GroupScopeBox();
  EXPECT_EQ(groups->width(), 128);
  EXPECT_EQ(groups->accessibleName(), QStringLiteral("分组控制"));
  EXPECT_EQ(bar_.GroupScope(), CSorvanSetUpPane::SCOPE_CURRENT);
  groups->setFocus();
  QTest::keyClick(groups, Qt::Key_Down);
  EXPECT_EQ(bar_.GroupScope(), CSorvanSetUpPane::SCOPE_ALL);
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{4});
  EXPECT_FALSE(bar_.ChangePending()) << "the scope change carried the bit";
  EXPECT_FALSE(bar_.ToolBar()->Button(CSorvanBasePane::ID_APPLY)->isEnabled());

  QComboBox *filter = bar_.FilterScopeBox();
  filter->setFocus();
  QTest::keyClick(filter, Qt::Key_Down);
  EXPECT_EQ(bar_.FilterScope(), CSorvanSetUpPane::SCOPE_ALL);
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{4});

  QTest::mouseClick(bar_.Grid()->ButtonOf(toggle), Qt::LeftButton);
  EXPECT_FALSE(bar_.GetSetUpCondition(where));
  EXPECT_TRUE(where.isEmpty());

  // Switching 即时更新 on sends what waited: the page follows at once.
  ASSERT_TRUE(bar_.ChangePending());
  bar_.ToolBar()->Action(CSorvanBasePane::ID_IMMEDIATE_UPDATE)->setChecked(true);
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{4});
  EXPECT_FALSE(bar_.ChangePending());
}

TEST_F(SetUpPaneTest, TemplatesRestoreAfterRebuildAndSendWhenChosen) {
  bar_.OnChangeNotify(HINT_BAR_SETTINGS);
  PropertyItem *sum = Item(bar_, QStringLiteral("汇总呈现的项目"));
  ASSERT_NE(sum, nullptr);
  sum->choice = sum->choiceData.indexOf(QStringLiteral("Total"));
  PressSpaceOn(bar_, Item(bar_, QStringLiteral("指定[类别]汇总类别")));
  prompt_.QueueText(QStringLiteral("按类别"));
  bar_.SaveTemplate();
  window_.TakeHints();

  bar_.OnChangeNotify(HINT_BAR_SETTINGS);
  EXPECT_TRUE(window_.TakeHints().isEmpty());
  EXPECT_EQ(bar_.SumColumn(), QStringLiteral("Total"));
  EXPECT_TRUE(Item(bar_, QStringLiteral("指定[类别]汇总类别"))->checked);

  bar_.ChooseTemplate(0);
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{4});

  CSorvanPieSetUpPane pie(&window_);
  pie.OnChangeNotify(HINT_PIE_SETTINGS);
  EXPECT_EQ(pie.TemplateBox()->count(), 0) << "templates belong to their pane kind";
}

TEST_F(SetUpPaneTest, ChoosingTheSumColumnInItsListIsAPendingChange) {
  bar_.OnChangeNotify(HINT_BAR_SETTINGS);
  PropertyItem *sum = Item(bar_, QStringLiteral("汇总呈现的项目"));
  QTreeView *view = bar_.Grid()->View();
  view->setFocus();
  view->setCurrentIndex(bar_.Grid()->IndexOf(sum));
  QTest::keyClick(view, Qt::Key_F2);
  auto *list = qobject_cast<QComboBox *>(view->indexWidget(bar_.Grid()->IndexOf(sum, 1)));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->itemText(0), QStringLiteral("编号"));
  list->setCurrentIndex(list->findText(QStringLiteral("单价")));
  QTest::keyClick(list, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return bar_.ChangePending(); }));
  EXPECT_EQ(bar_.SumColumn(), QStringLiteral("Amount"));
  EXPECT_TRUE(window_.TakeHints().isEmpty());
  bar_.Apply();
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{4});

  // The next window on the file starts on the user's choice; the other
  // chart keeps its own.
  CSorvanBarSetUpPane again(&window_);
  again.OnChangeNotify(HINT_BAR_SETTINGS);
  EXPECT_EQ(again.SumColumn(), QStringLiteral("Amount"));
  CSorvanPieSetUpPane pie(&window_);
  pie.OnChangeNotify(HINT_PIE_SETTINGS);
  EXPECT_EQ(pie.SumColumn(), QStringLiteral("Total"));
}

TEST_F(SetUpPaneTest, EveryControlIsReachedByTabAndNamed) {
  bar_.OnChangeNotify(HINT_BAR_SETTINGS);
  PressSpaceOn(bar_, Item(bar_, QStringLiteral("指定[类别]汇总类别")));
  QToolButton *selectAll =
      bar_.Grid()->ButtonOf(Item(bar_, QStringLiteral("指定[类别]汇总类别")));
  QApplication::setActiveWindow(&bar_);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&bar_));
  bar_.Grid()->View()->setFocus();

  QList<QWidget *> reached;
  for (int i = 0; i < 30; ++i) {
    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    if (reached.contains(focus))
      break;
    reached.append(focus);
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  QStringList names;
  for (QWidget *widget : reached) {
    EXPECT_FALSE(widget->accessibleName().isEmpty())
        << widget->metaObject()->className();
    names.append(widget->accessibleName());
  }
  for (const char *name : {"柱图分析", "取消全部", "选择一个预定义模板", "保存模板",
                              "删除模板", "即时更新", "执行筛选", "分组控制", "使用筛选"})
    EXPECT_TRUE(names.contains(QString::fromUtf8(name))) << name << " not reached";
  EXPECT_TRUE(reached.contains(selectAll));
}

} // namespace
