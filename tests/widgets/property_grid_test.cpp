// The property grid on real widgets: editors take what the user types and
// report it once, the program's changes report nothing, hidden rows and
// in-place buttons survive rebuilds, and buttons are real, named buttons.
#include "widgets/property_grid.h"

#include <QAccessible>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

class PropertyGridTest : public ::testing::Test {
protected:
  void SetUp() override {
    grid_.Rebuild([this](PropertyItem &root) { Fill(root); });
    grid_.ExpandAll();
    grid_.resize(400, 400);
    grid_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid_));
  }

  void Fill(PropertyItem &root) {
    PropertyItem *category = category_ = root.Add(PropertyItem::Category, "数值");
    box_ = category->Add(PropertyItem::Check, "使用[金额]筛选", "说明");
    box_->button = InplaceButton{12, "取消全部", true, true};
    number_ = category->Add(PropertyItem::Number, "起始数值", "仅查看大于此数值的条目");
    date_ = category->Add(PropertyItem::Date, "起始日期");
    date_->date = QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9));
    text_ = category->Add(PropertyItem::Text, "字符串筛选条件");
    hidden_ = category->Add(PropertyItem::Check, "餐饮");
    hidden_->hidden = true;
  }

  QTreeView *View() { return grid_.View(); }
  // Opens the editor of item's value with F2 from its caption.
  QWidget *OpenEditor(PropertyItem *item) {
    View()->setFocus();
    View()->setCurrentIndex(grid_.IndexOf(item));
    QTest::keyClick(View(), Qt::Key_F2);
    return View()->indexWidget(grid_.IndexOf(item, 1));
  }

  PropertyGrid grid_;
  PropertyItem *category_ = nullptr;
  PropertyItem *box_ = nullptr;
  PropertyItem *number_ = nullptr;
  PropertyItem *date_ = nullptr;
  PropertyItem *text_ = nullptr;
  PropertyItem *hidden_ = nullptr;
};

TEST_F(PropertyGridTest, NumberEditorTakesLargeAndNegativeValues) {
  QSignalSpy changed(&grid_, &PropertyGrid::ValueChanged);
  auto *spin = qobject_cast<QDoubleSpinBox *>(OpenEditor(number_));
  ASSERT_NE(spin, nullptr);
  spin->selectAll();
  QTest::keyClicks(spin, "123456789.125");
  QTest::keyClick(spin, Qt::Key_Return); // commits once control returns
  ASSERT_TRUE(QTest::qWaitFor([&] { return changed.count() == 1; }));
  EXPECT_EQ(number_->number, 123456789.125);

  spin = qobject_cast<QDoubleSpinBox *>(OpenEditor(number_));
  ASSERT_NE(spin, nullptr);
  spin->selectAll();
  QTest::keyClicks(spin, "-0.5");
  QTest::keyClick(spin, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return changed.count() == 2; }));
  EXPECT_EQ(number_->number, -0.5);
  EXPECT_EQ(number_->ValueText(), QStringLiteral("-0.5"));
}

TEST_F(PropertyGridTest, DateEditorShowsTheFixedFormAndTextCommitsOnce) {
  auto *edit = qobject_cast<QLineEdit *>(OpenEditor(date_));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), QStringLiteral("2024/5/6 7:08:09"));
  QTest::keyClick(edit, Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !View()->indexWidget(grid_.IndexOf(date_, 1)); }));

  QSignalSpy changed(&grid_, &PropertyGrid::ValueChanged);
  auto *line = qobject_cast<QLineEdit *>(OpenEditor(text_));
  ASSERT_NE(line, nullptr);
  QTest::keyClicks(line, "O'Brien");
  EXPECT_EQ(changed.count(), 0) << "nothing is sent while typing";
  QTest::keyClick(line, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return changed.count() == 1; }));
  EXPECT_EQ(text_->text, QStringLiteral("O'Brien"));
}

TEST_F(PropertyGridTest, SpaceTicksABoxAndTheProgramsChangesReportNothing) {
  QSignalSpy changed(&grid_, &PropertyGrid::ValueChanged);
  View()->setFocus();
  View()->setCurrentIndex(grid_.IndexOf(box_));
  QTest::keyClick(View(), Qt::Key_Space);
  EXPECT_TRUE(box_->checked);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).value<PropertyItem *>(), box_);

  box_->checked = false;
  number_->number = 7;
  hidden_->hidden = false;
  grid_.Refresh();
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(grid_.IndexOf(box_, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
  EXPECT_FALSE(View()->isRowHidden(hidden_->Row(), grid_.IndexOf(hidden_->Parent())));
}

TEST_F(PropertyGridTest, AnAssistiveToggleTicksABoxAsAClickDoes) {
  QSignalSpy changed(&grid_, &PropertyGrid::ValueChanged);
  QAccessibleInterface *tree = QAccessible::queryAccessibleInterface(View());
  ASSERT_TRUE(tree && tree->tableInterface());
  QAccessibleInterface *box = tree->tableInterface()->cellAt(1, 0);
  ASSERT_TRUE(box && box->actionInterface());
  EXPECT_EQ(box->text(QAccessible::Name), QStringLiteral("使用[金额]筛选"));
  EXPECT_TRUE(box->state().checkable);
  box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(box_->checked);
  EXPECT_TRUE(box->state().checked);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).value<PropertyItem *>(), box_);
  box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_FALSE(box_->checked);
  // A value's Toggle selects its row and changes nothing.
  QAccessibleInterface *number = tree->tableInterface()->cellAt(2, 1);
  ASSERT_TRUE(number);
  EXPECT_EQ(number->text(QAccessible::Name), number_->ValueText());
  number->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(View()->selectionModel()->isRowSelected(number_->Row(),
                                                      grid_.IndexOf(category_)));
  EXPECT_EQ(changed.count(), 2);
}

TEST_F(PropertyGridTest, HiddenRowsAndButtonsSurviveARebuild) {
  const QModelIndex parent = grid_.IndexOf(hidden_->Parent());
  EXPECT_TRUE(View()->isRowHidden(hidden_->Row(), parent));
  grid_.Rebuild([this](PropertyItem &root) { Fill(root); });
  grid_.ExpandAll();
  EXPECT_TRUE(View()->isRowHidden(hidden_->Row(), grid_.IndexOf(hidden_->Parent())));

  QToolButton *button = grid_.ButtonOf(box_);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), QStringLiteral("取消全部"));
  EXPECT_EQ(button->accessibleName(), QStringLiteral("取消全部"));
  QSignalSpy pressed(&grid_, &PropertyGrid::ButtonPressed);
  QTest::mouseClick(button, Qt::LeftButton);
  ASSERT_EQ(pressed.count(), 1);
  EXPECT_EQ(pressed.at(0).at(1).toInt(), 12);

  box_->button->caption = QStringLiteral("选择全部");
  box_->button->enabled = false;
  grid_.Refresh();
  EXPECT_EQ(button->text(), QStringLiteral("选择全部"));
  EXPECT_FALSE(button->isEnabled());
}

TEST_F(PropertyGridTest, ButtonsFollowTheirRowsAndHideWithThem) {
  PropertyItem *category = nullptr;
  PropertyItem *last = nullptr;
  grid_.Rebuild([&](PropertyItem &root) {
    Fill(root);
    category = root.Add(PropertyItem::Category, "更多");
    for (int i = 0; i < 60; ++i)
      category->Add(PropertyItem::Check, QStringLiteral("选项%1").arg(i));
    last = category->Add(PropertyItem::Check, "使用[末项]筛选");
    last->button = InplaceButton{12, "取消全部", true, true};
  });
  grid_.ExpandAll();
  QToolButton *button = grid_.ButtonOf(last);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->parentWidget(), &grid_) << "a child the screen reader sees";
  EXPECT_FALSE(button->isVisible()) << "its row is scrolled out of sight";

  View()->scrollToBottom();
  auto rowTop = [&] {
    const QRect row = View()->visualRect(grid_.IndexOf(last));
    return View()->viewport()->mapTo(&grid_, row.topLeft()).y();
  };
  ASSERT_TRUE(QTest::qWaitFor([&] { return button->isVisible(); }));
  EXPECT_EQ(button->y(), rowTop());

  View()->collapse(grid_.IndexOf(category));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !button->isVisible(); }));
}

} // namespace
