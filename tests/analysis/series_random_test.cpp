// Both fast builders against the literal statements, one per month and one
// per slice, on random files: dates with and without times (also at the end
// of a month), texts that are no dates, nulls, numbers in the date column,
// options in other letter case and with quotes, negative amounts, random
// groups, filters, set-up conditions and scope boxes.
#include "chart_test_file.h"

#include "analysis/chart_set_up.h"
#include "groups/group_where.h"

#include <QRandomGenerator>

namespace {

class SeriesRandomTest : public ChartFileTest,
                         public ::testing::WithParamInterface<quint32> {};

const QStringList kCategories{"餐饮", "交通", "购物", "居住", "O'Brien", "o'BRIEN", "abc", "ABC"};
const QStringList kPayments{"现金", "银行卡", "信用卡"};

QString RandomDate(QRandomGenerator &random) {
  const int kind = random.bounded(40);
  if (kind == 0)
    return QString(); // null
  const int year = 2008 + random.bounded(3);
  const int month = 1 + random.bounded(12);
  const QDate start(year, month, 1);
  const int day = random.bounded(4) == 0 ? start.daysInMonth()
                                         : 1 + random.bounded(start.daysInMonth());
  QString date = QStringLiteral("%1-%2-%3").arg(year).arg(month).arg(day);
  if (random.bounded(5) == 0)
    date += QStringLiteral(" %1:%2:00").arg(random.bounded(24)).arg(random.bounded(60));
  return date;
}

QStringList Pick(QRandomGenerator &random, const QStringList &from) {
  QStringList picked;
  for (const QString &value : from)
    if (random.bounded(2) == 0)
      picked.append(value);
  return picked;
}

QString InList(const QString &field, const QStringList &values) {
  QStringList literals;
  for (const QString &value : values)
    literals.append("'" + QString(value).replace("'", "''") + "'");
  return QStringLiteral("[%1] In (%2)").arg(field, literals.join(','));
}

TEST_P(SeriesRandomTest, FastBuildersAgreeWithTheLiteralStatements) {
  QRandomGenerator random(GetParam());
  Session().BeginTransaction();
  for (int i = 0; i < 400; ++i) {
    ChartRecord record;
    record.date = RandomDate(random);
    record.total = (random.bounded(200000) - 50000) / 100.0;
    record.category = kCategories[random.bounded(int(kCategories.size()))];
    record.payment = kPayments[random.bounded(int(kPayments.size()))];
    record.group = 2 + random.bounded(4);
    Add(record);
  }
  // Odd stored values in the date column.
  Run("Update Users Set [Data]='2009-13-01 00:00:00' Where ID=3");
  Run("Update Users Set [Data]='2009-05-3' Where ID=4");
  Run("Update Users Set [Data]='2009-06-30 00:00:00x' Where ID=5");
  // A number sorts before every text: where it is in scope, Min does not
  // read as a date and there are no bars.
  Run("Update Users Set [Data]=17, [Category]='abc', trelva_Group_ID=5 Where ID=6");
  Run("Update Users Set [Count]=[ID]");
  Session().CommitTransaction();

  int charted = 0;
  for (int round = 0; round < 12; ++round) {
    ChartSetUp setUp;
    setUp.groupScope = random.bounded(2);
    setUp.filterScope = random.bounded(2);
    QList<int> groups;
    for (int id = 2; id <= 5; ++id)
      if (random.bounded(2) == 0)
        groups.append(id);
    setUp.groupWhere = GroupIdsWhere(groups);
    if (random.bounded(3) > 0)
      setUp.filterWhere = InList("Category", Pick(random, kCategories));
    if (random.bounded(2) == 0 && !setUp.filterWhere.endsWith("()"))
      setUp.filterWhere = CombineWhere(setUp.filterWhere, "[Total] >= 0");
    if (setUp.filterWhere.endsWith("()"))
      setUp.filterWhere = "[Total] < 100";
    QString scope;
    ASSERT_TRUE(ChartScopeCondition(setUp, scope));
    FilterWhere condition;
    if (random.bounded(2) == 0) {
      const QStringList payments = Pick(random, kPayments);
      if (!payments.isEmpty())
        condition.text = InList("Payment", payments);
    }
    const QString sum = random.bounded(3) == 0 ? "Count" : "Total";
    SCOPED_TRACE(qPrintable(scope + " / " + condition.text + " / " + sum));
    const BarSeries bars = Bars(scope, condition, sum);
    charted += bars.IsEmpty() ? 0 : 1;

    QList<ExpandedColumn> expanded;
    expanded.append({"Category", Pick(random, kCategories)});
    if (random.bounded(2) == 0)
      expanded.append({"Payment", Pick(random, kPayments)});
    Pie(expanded, scope, sum);
  }
  EXPECT_GT(charted, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SeriesRandomTest,
                         ::testing::Values(1u, 2u, 3u, 42u, 2010u));

} // namespace
