#include "exchange/ui/import_dialog.h"
#include "../exchange_test_file.h"
#include <QTest>
TEST_F(ExchangeTest, ShotDialog) {
  if (qEnvironmentVariableIsEmpty("SHOT")) GTEST_SKIP();
  ImportDialog dialog(file_, 3);
  ASSERT_TRUE(dialog.OpenStatement(qEnvironmentVariable("SHOT_FILE", Data("gb18030_debit_credit.csv"))));
  dialog.show();
  QTest::qWait(300);
  dialog.grab().save("/tmp/cg/import.png");
}
