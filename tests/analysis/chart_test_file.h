// Test fixture of the chart series: a fresh copy of the household template
// opened as an AccountFile, records added in one call each, and both ways
// of building each series at hand.
#pragma once

#include "analysis/bar_series.h"
#include "analysis/pie_series.h"
#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "document/account_file.h"
#include "support/scoped_current_dir.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// One record of the household layout.
struct ChartRecord {
  QString date;       // Jet date text, e.g. "2010-3-5"; empty for null
  double total = 0;
  QString category = QStringLiteral("餐饮");
  QString payment = QStringLiteral("现金");
  int group = 2;
};

class ChartFileTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  CDBVisiter &Session() { return *file_.Session(); }
  void Add(const ChartRecord &record);
  void Add(const QString &date, double total) { Add(ChartRecord{date, total}); }
  // Runs a statement that must succeed.
  void Run(const QString &sql);
  // Reads the columns again after TableStyle was changed.
  void ReloadColumns();

  // The bar series by the grouped statement, checked against the month walk.
  BarSeries Bars(const QString &scope = QString(),
                 const FilterWhere &setUp = FilterWhere(),
                 const QString &sum = QStringLiteral("Total"));
  // The pie series by one pass, checked against one statement per slice.
  PieSeries Pie(const QList<ExpandedColumn> &expanded,
                const QString &scope = QString(),
                const QString &sum = QStringLiteral("Total"));

  QTemporaryDir dir_;
  ScopedCurrentDir inDir_{dir_.path()};
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
  AccountFile file_;
  int nextKey_ = 1;
};

// "label=value" for every bar or slice, values with up to 6 decimals.
QStringList Lines(const BarSeries &series);
QStringList Lines(const PieSeries &series);

// Whether two sums agree within 1e-9 relative.
bool NearlyEqual(double a, double b);
void ExpectSameBars(const BarSeries &fast, const BarSeries &walk);
void ExpectSamePie(const PieSeries &fast, const PieSeries &bySlice);
