// The fixture of the recurring record tests.
#include "recurring_test_file.h"

#include "db/db_visiter_factory.h"
#include "support/query_rows.h"
#include "support/template_copy.h"

void RecurringTest::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  path_ = CopyTemplate(dir_, QStringLiteral("家庭账本"), QStringLiteral("book"));
  ASSERT_TRUE(file_.OpenAccountFile(path_));
}

void RecurringTest::TearDown() { CDBVisiterFactory::Instance().DestroyAll(); }

RecurringRecord RecurringTest::Rent(const QDate &first) {
  RecurringRecord record;
  record.title = QStringLiteral("房租");
  record.groupId = 2;
  record.values = {{QStringLiteral("Category"), QStringLiteral("居住")},
                   {QStringLiteral("Amount"), QStringLiteral("3000")}};
  record.first = first;
  return record;
}

QStringList RecurringTest::Rows(const QString &sql) {
  return QueryRows(*file_.Session(), sql);
}

QStringList RecurringTest::Records() {
  return Rows(QStringLiteral("Select Data, Category, Amount, Total, Item From "
                             "Users Where trelva_Group_ID=2 Order By ID"));
}

void RecurringTest::Reopen() {
  file_.Close();
  ASSERT_TRUE(file_.OpenAccountFile(path_));
}
