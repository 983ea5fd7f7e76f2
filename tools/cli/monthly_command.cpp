// sorvanel-cli monthly PATH --sum FIELD [--where TEXT] [--side SIDE]
// [--only FIELD=OPT,...]: the series of the monthly bar chart, one bar per
// line: its label, a tab and its value with up to six decimals. --where is
// the scope (the records the groups and the filter select); each --only
// restricts an option column to the options given, as the bar chart's
// set-up pane does ("FIELD=" ticks none, which leaves no bars). In a ledger
// with a side column the bars are 支出 unless --side names 收入 or 结余.
// Records whose date does not read are left out of the bars and counted in
// a note on stderr; a --where the engine refuses is an error, and so is a
// bar whose sum is beyond the range of numbers.
#include "chart_arguments.h"
#include "cli_account.h"
#include "cli_command.h"

#include "analysis/bar_series.h"
#include "base/prompt.h"
#include "formula/format_decimal.h"
#include "groups/filter_where.h"
#include "document/account_file.h"

#include <cmath>

namespace {

const char kUsage[] =
    "monthly PATH --sum FIELD [--where TEXT] [--side 支出|收入|结余] "
    "[--only FIELD=OPT[,OPT...]]...";

// The set-up condition of the chosen options, built as the set-up pane
// builds it: one category of option settings.
FilterWhere SetUpCondition(const ColumnList &columns,
                           const QList<ExpandedColumn> &only) {
  FilterCategory category;
  for (const ExpandedColumn &column : only) {
    FilterColumnSetting setting(columns.At(columns.PositionOf(column.fieldName)));
    setting.enabled = true;
    for (FilterOption &option : setting.options)
      option.ticked = column.options.contains(option.value);
    category.entries.emplace_back(setting);
  }
  return BuildFilterWhere({category});
}

int RunMonthly(const QStringList &args) {
  ChartArguments chart;
  if (!ParseChartArguments(args, QStringLiteral("--only"), "monthly", chart))
    return 1;
  AccountFile file;
  if (!OpenForReading(file, chart.path))
    return 1;
  if (!ResolveChartArguments(file.Columns(), chart, true) ||
      !CheckChartScope(*file.Session(), chart))
    return 1;
  const BarSeries series = BuildBarSeries(
      *file.Session(), file.Columns(), chart.sumField, chart.where,
      SetUpCondition(file.Columns(), chart.optionColumns), chart.side);
  for (int i = 0; i < series.Size(); ++i) {
    if (!std::isfinite(series.values[i])) {
      ShowMessage(QStringLiteral("%1 的合计超出数值范围").arg(series.labels[i]));
      return 1;
    }
  }
  for (int i = 0; i < series.Size(); ++i)
    PrintLine(series.labels[i] + QLatin1Char('\t') +
              FormatDecimal(series.values[i], 6));
  // The bars are those of the readable dates; the others are only counted.
  const QString note = UnreadableDatesNote(series);
  if (!note.isEmpty())
    ShowMessage(note);
  return 0;
}

} // namespace

SORVANEL_CLI_COMMAND("monthly", kUsage, RunMonthly);
