// The side pane base: immediate and pending updates, the toolbar's texts
// and states, keys that must do nothing, and the template name dialog.
#include "widgets/name_sel_dlg.h"
#include "window/pane_tool_bar.h"
#include "window/pane_update_state.h"
#include "window/sorvan_base_pane.h"
#include "base/scripted_prompt.h"
#include "support/pane_test_window.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

TEST(PaneUpdateStateTest, ImmediateSendsAtOncePendingCollectsUntilApplied) {
  PaneUpdateState state;
  EXPECT_FALSE(state.Immediate());
  EXPECT_EQ(state.Change(4), 0u);
  EXPECT_EQ(state.Change(2), 0u);
  EXPECT_TRUE(state.Pending());
  EXPECT_EQ(state.TakePending(), 6u);
  EXPECT_FALSE(state.Pending());
  EXPECT_EQ(state.TakePending(), 0u) << "a second apply sends nothing";

  state.SetImmediate(true);
  EXPECT_EQ(state.Change(7), 7u);
  EXPECT_FALSE(state.Pending());
}

class TestPane : public CSorvanBasePane {
public:
  explicit TestPane(DocumentWindow *window) : CSorvanBasePane(window) {
    AddUpdateCommands();
  }
};

class BasePaneTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(window_.Valid()); }
  PaneTestWindow window_;
};

TEST_F(BasePaneTest, PendingChangesGoOutAsOneHintOnApply) {
  TestPane pane(&window_);
  pane.show();
  QToolButton *apply = pane.ToolBar()->Button(CSorvanBasePane::ID_APPLY);
  ASSERT_NE(apply, nullptr);
  EXPECT_FALSE(pane.ImmediateUpdate());
  EXPECT_FALSE(apply->isEnabled());

  pane.NotifyChange(4);
  pane.NotifyChange(4);
  EXPECT_TRUE(window_.TakeHints().isEmpty());
  EXPECT_TRUE(apply->isEnabled());

  QTest::mouseClick(apply, Qt::LeftButton);
  EXPECT_EQ(window_.TakeHints(), QList<unsigned>{4});
  EXPECT_FALSE(apply->isEnabled());
  EXPECT_FALSE(pane.ChangePending());
}

TEST_F(BasePaneTest, ImmediateSwitchSendsEveryChange) {
  TestPane pane(&window_);
  pane.show();
  QToolButton *immediate =
      pane.ToolBar()->Button(CSorvanBasePane::ID_IMMEDIATE_UPDATE);
  ASSERT_NE(immediate, nullptr);
  EXPECT_FALSE(immediate->isChecked());
  QTest::mouseClick(immediate, Qt::LeftButton);
  EXPECT_TRUE(pane.ImmediateUpdate());
  EXPECT_TRUE(immediate->isChecked());

  pane.NotifyChange(7);
  pane.NotifyChange(7);
  EXPECT_EQ(window_.TakeHints(), (QList<unsigned>{7, 7}));

  pane.SetImmediateUpdate(false);
  EXPECT_FALSE(immediate->isChecked()) << "the button follows the program";
}

TEST_F(BasePaneTest, ToolTipsSplitIntoTextAndStatusTip) {
  TestPane pane(&window_);
  QToolButton *apply = pane.ToolBar()->Button(CSorvanBasePane::ID_APPLY);
  EXPECT_EQ(apply->text(), QStringLiteral("执行筛选"));
  EXPECT_EQ(apply->toolTip(), QStringLiteral("执行筛选"));
  EXPECT_EQ(apply->accessibleName(), QStringLiteral("执行筛选"));
  EXPECT_EQ(apply->statusTip(), QStringLiteral("应用当前筛选"));
  EXPECT_EQ(PaneToolBar::TipText(QStringLiteral("即时更新")),
            QStringLiteral("即时更新"));
}

TEST_F(BasePaneTest, EnterAndEscapeDoNothing) {
  QWidget host;
  auto *pane = new TestPane(&window_);
  pane->setParent(&host);
  host.show();
  pane->NotifyChange(7);
  QTest::keyClick(pane, Qt::Key_Escape);
  QTest::keyClick(pane, Qt::Key_Return);
  EXPECT_TRUE(pane->isVisible());
  EXPECT_TRUE(pane->ChangePending());
  EXPECT_TRUE(window_.TakeHints().isEmpty());
}

TEST(NameSelDlgTest, OffersSortedNamesStartsWithTheTextAndSavesWhatIsTyped) {
  CNameSelDlg dialog({QStringLiteral("b"), QStringLiteral("a"),
                      QStringLiteral("c")},
                     QStringLiteral("b"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("输入模板名称"));
  QComboBox *box = dialog.NameBox();
  ASSERT_EQ(box->count(), 3);
  EXPECT_EQ(box->itemText(0), QStringLiteral("a"));
  EXPECT_EQ(box->itemText(2), QStringLiteral("c"));
  EXPECT_EQ(dialog.Text(), QStringLiteral("b"));
  EXPECT_TRUE(dialog.SaveButton()->isDefault());

  dialog.open(); // not modal for the test: nothing blocks
  box->lineEdit()->clear();
  QTest::keyClicks(box->lineEdit(), QStringLiteral("O'Brien"));
  QTest::keyClick(box->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Text(), QStringLiteral("O'Brien"));
}

TEST(ScriptedPromptTest, TextQuestionsAnswerFromTheQueue) {
  ScriptedPrompt prompt;
  prompt.QueueText(QStringLiteral("x"));
  const auto first = prompt.AskText(QStringLiteral("输入模板名称"),
                                    {QStringLiteral("a")}, QStringLiteral("s"));
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(*first, QStringLiteral("x"));
  EXPECT_EQ(prompt.Last(), QStringLiteral("输入模板名称"));
  EXPECT_EQ(prompt.LastNames(), QStringList{QStringLiteral("a")});
  EXPECT_EQ(prompt.LastStart(), QStringLiteral("s"));
  EXPECT_FALSE(prompt.AskText(QString(), {}, QString()).has_value());
}

} // namespace
