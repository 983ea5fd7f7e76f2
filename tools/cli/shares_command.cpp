// sorvanel-cli shares PATH --sum FIELD --by FIELD=OPT,... [--by ...]
// [--where TEXT]: the series of the proportion pie chart, one slice per
// line: its label ("餐饮|现金"), a tab and its sum with two decimals. The
// --by columns are expanded in the order of the file's columns, each with
// the options given in the column's order; --where is the scope (one the
// engine refuses is an error). In a ledger with a side column the slices
// are 支出 unless --side names 收入. A sum beyond the range of numbers is an
// error.
#include "chart_arguments.h"
#include "cli_account.h"
#include "cli_command.h"

#include "analysis/pie_series.h"
#include "base/prompt.h"
#include "document/account_file.h"

#include <cmath>

namespace {

const char kUsage[] =
    "shares PATH --sum FIELD --by FIELD=OPT[,OPT...] [--by ...] [--where TEXT] "
    "[--side 支出|收入]";

int RunShares(const QStringList &args) {
  ChartArguments chart;
  if (!ParseChartArguments(args, QStringLiteral("--by"), "shares", chart))
    return 1;
  if (chart.optionColumns.isEmpty()) {
    ShowUsage("shares");
    return 1;
  }
  AccountFile file;
  if (!OpenForReading(file, chart.path))
    return 1;
  if (!ResolveChartArguments(file.Columns(), chart, false) ||
      !CheckChartScope(*file.Session(), chart))
    return 1;
  const PieSeries series =
      BuildPieSeries(*file.Session(), file.Columns(), chart.sumField,
                     chart.where, chart.optionColumns, chart.side);
  for (int i = 0; i < series.Size(); ++i) {
    if (!std::isfinite(series.sums[i])) {
      ShowMessage(QStringLiteral("%1 的合计超出数值范围").arg(series.labels[i]));
      return 1;
    }
  }
  for (int i = 0; i < series.Size(); ++i)
    PrintLine(series.labels[i] + QLatin1Char('\t') +
              QString::asprintf("%.2f", series.sums[i]));
  return 0;
}

} // namespace

SORVANEL_CLI_COMMAND("shares", kUsage, RunShares);
