// Test fixture of the chart series.
#include "chart_test_file.h"

#include "db/db_visiter_factory.h"
#include "formula/format_decimal.h"
#include "model/column_store.h"
#include "model/sql_text.h"
#include "support/template_copy.h"

#include <cmath>

void ChartFileTest::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  const QString path =
      CopyTemplate(dir_, QStringLiteral("家庭账本"), QStringLiteral("charts"));
  ASSERT_TRUE(file_.OpenAccountFile(path));
}

void ChartFileTest::TearDown() {
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
  CDBVisiterFactory::Instance().DestroyAll();
}

void ChartFileTest::Add(const ChartRecord &record) {
  const QString date = record.date.isEmpty()
                           ? QStringLiteral("Null")
                           : QLatin1Char('#') + record.date + QLatin1Char('#');
  Run(QStringLiteral("Insert Into Users ([ID], [Data], [Category], [Payment], "
                     "[Total], [trelva_Group_ID]) Values (%1, %2, %3, %4, %5, %6)")
          .arg(nextKey_++)
          .arg(date, SqlTextLiteral(record.category),
               SqlTextLiteral(record.payment), FormatDecimal(record.total, 15))
          .arg(record.group));
}

void ChartFileTest::Run(const QString &sql) {
  EXPECT_TRUE(Session().Execute(sql)) << qPrintable(sql);
}

void ChartFileTest::ReloadColumns() { LoadColumns(Session(), file_.Columns()); }

BarSeries ChartFileTest::Bars(const QString &scope, const FilterWhere &setUp,
                              const QString &sum) {
  const BarSeries fast =
      BuildBarSeries(Session(), file_.Columns(), sum, scope, setUp);
  ExpectSameBars(fast, BuildBarSeriesByMonth(Session(), file_.Columns(), sum,
                                             scope, setUp));
  return fast;
}

PieSeries ChartFileTest::Pie(const QList<ExpandedColumn> &expanded,
                             const QString &scope, const QString &sum) {
  const PieSeries fast =
      BuildPieSeries(Session(), file_.Columns(), sum, scope, expanded);
  ExpectSamePie(fast, BuildPieSeriesBySlice(Session(), file_.Columns(), sum,
                                            scope, expanded));
  return fast;
}

QStringList Lines(const BarSeries &series) {
  QStringList lines;
  for (int i = 0; i < series.Size(); ++i)
    lines.append(series.labels[i] + '=' + FormatDecimal(series.values[i], 6));
  return lines;
}

QStringList Lines(const PieSeries &series) {
  QStringList lines;
  for (int i = 0; i < series.Size(); ++i)
    lines.append(series.labels[i] + '=' + FormatDecimal(series.sums[i], 6));
  return lines;
}

bool NearlyEqual(double a, double b) {
  return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

void ExpectSameBars(const BarSeries &fast, const BarSeries &walk) {
  EXPECT_EQ(fast.unreadableDates, walk.unreadableDates);
  ASSERT_EQ(fast.labels, walk.labels);
  for (int i = 0; i < fast.Size(); ++i)
    EXPECT_TRUE(NearlyEqual(fast.values[i], walk.values[i]))
        << qPrintable(fast.labels[i]) << ": " << fast.values[i] << " vs "
        << walk.values[i];
}

void ExpectSamePie(const PieSeries &fast, const PieSeries &bySlice) {
  ASSERT_EQ(fast.labels, bySlice.labels);
  for (int i = 0; i < fast.Size(); ++i)
    EXPECT_TRUE(NearlyEqual(fast.sums[i], bySlice.sums[i]))
        << qPrintable(fast.labels[i]) << ": " << fast.sums[i] << " vs "
        << bySlice.sums[i];
}
