// The program's message boxes answered from the keyboard: Y and N for
// 是(&Y) and 否(&N), Escape for 取消.
#include "widgets/message_box_prompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Presses key in the box that the next question opens. A box the key did
// not close is closed after a while, as Escape would, so that a fault fails
// the test instead of hanging it.
void PressInNextBox(Qt::Key key) {
  auto *timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, key] {
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box)
      return;
    timer->stop();
    timer->deleteLater();
    QTest::keyClick(box, key);
    QTimer::singleShot(3000, box, [box] { box->reject(); });
  });
  timer->start(10);
}

TEST(MessageBoxPromptTest, ButtonsAnswerFromTheKeyboard) {
  MessageBoxPrompt prompt;
  PressInNextBox(Qt::Key_Y);
  EXPECT_TRUE(prompt.AskYesNo(QStringLiteral("删除？")));
  PressInNextBox(Qt::Key_N);
  EXPECT_FALSE(prompt.AskYesNo(QStringLiteral("删除？")));
  PressInNextBox(Qt::Key_Escape);
  EXPECT_EQ(prompt.AskChoice(QStringLiteral("恢复？"),
                             {QStringLiteral("恢复"), QStringLiteral("取消")}),
            1);
}

} // namespace
