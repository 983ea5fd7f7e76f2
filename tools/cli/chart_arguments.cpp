// Arguments of the chart commands.
#include "chart_arguments.h"

#include "cli_command.h"

#include "analysis/chart_columns.h"
#include "analysis/scope_check.h"
#include "base/prompt.h"
#include "model/column_list.h"
#include "model/side_column.h"

#include <algorithm>

namespace {

struct OptionArgument {
  QString field;
  QStringList options;
};

bool Usage(const char *command) {
  ShowUsage(command);
  return false;
}

// "FIELD=A,B" into its field and options; "FIELD=" has none.
bool ParseOptionArgument(const QString &text, OptionArgument &out) {
  const qsizetype equals = text.indexOf(QLatin1Char('='));
  if (equals <= 0)
    return false;
  out.field = text.left(equals);
  const QString options = text.mid(equals + 1);
  if (!options.isEmpty())
    out.options = options.split(QLatin1Char(','));
  return true;
}

// The options of the column that were named, in the column's order; false
// when a name is not among them.
bool OrderOptions(const ColumnDef &column, const QStringList &named,
                  QStringList &ordered) {
  const QStringList choices = column.Choices();
  for (const QString &option : named) {
    if (!choices.contains(option)) {
      ShowMessage(QStringLiteral("“%1”不是字段[%2]的选项，可选的有：%3")
                      .arg(option, column.fieldName,
                           choices.join(QLatin1Char('|'))));
      return false;
    }
  }
  for (const QString &choice : choices)
    if (named.contains(choice) && !ordered.contains(choice))
      ordered.append(choice);
  return true;
}

// The side named by --side; false, with the message, for a name that is
// none or a ledger without a side column.
bool ResolveSide(const ColumnList &columns, bool balanceAllowed,
                 ChartArguments &args) {
  if (args.sideName.isEmpty())
    return true;
  if (!ParseChartSide(args.sideName, args.side) ||
      (!balanceAllowed && args.side == ChartSide::Balance)) {
    ShowMessage(QStringLiteral("--side 应为 %1：%2")
                    .arg(balanceAllowed ? QStringLiteral("支出、收入或结余")
                                        : QStringLiteral("支出或收入"),
                         args.sideName));
    return false;
  }
  if (SideColumnOf(columns))
    return true;
  ShowMessage(QStringLiteral("账簿没有收支列（选项中有“支出”和“收入”的可选型列），"
                             "不能使用 --side"));
  return false;
}

} // namespace

bool ParseChartArguments(const QStringList &args, const QString &optionFlag,
                         const char *command, ChartArguments &out) {
  if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
    return Usage(command);
  out.path = args.first();
  bool haveSum = false;
  for (qsizetype i = 1; i < args.size(); i += 2) {
    const QString &flag = args[i];
    if (i + 1 >= args.size())
      return Usage(command);
    const QString &value = args[i + 1];
    if (flag == QLatin1String("--sum")) {
      out.sumField = value;
      haveSum = true;
    } else if (flag == QLatin1String("--where")) {
      out.where = value;
    } else if (flag == QLatin1String("--side")) {
      out.sideName = value;
    } else if (flag == optionFlag) {
      OptionArgument option;
      if (!ParseOptionArgument(value, option))
        return Usage(command);
      out.optionColumns.append({option.field, option.options});
    } else {
      return Usage(command);
    }
  }
  return haveSum || Usage(command);
}

bool ResolveChartArguments(const ColumnList &columns, ChartArguments &args,
                           bool balanceAllowed) {
  if (!ResolveSide(columns, balanceAllowed, args))
    return false;
  const ColumnDef *sum = ChartSumColumn(columns, args.sumField);
  if (!sum) {
    const int position = columns.PositionOf(args.sumField);
    ShowMessage(position < 0
                    ? QStringLiteral("没有字段[%1]").arg(args.sumField)
                    : QStringLiteral("字段[%1]不是数字字段，不能汇总")
                          .arg(args.sumField));
    return false;
  }
  args.sumField = sum->fieldName;

  // Collected by column position, so they come out in the file's order; a
  // field named twice takes the options of both.
  QList<QPair<int, ExpandedColumn>> resolved;
  for (const ExpandedColumn &named : args.optionColumns) {
    const int position = columns.PositionOf(named.fieldName);
    if (position < 0 || columns.At(position).type != FT_OPTION) {
      ShowMessage(QStringLiteral("字段[%1]不是可选型字段").arg(named.fieldName));
      return false;
    }
    const ColumnDef &column = columns.At(position);
    auto same = std::find_if(resolved.begin(), resolved.end(),
                             [position](const auto &entry) {
                               return entry.first == position;
                             });
    QStringList namedOptions = named.options;
    if (same != resolved.end())
      namedOptions += same->second.options;
    QStringList ordered;
    if (!OrderOptions(column, namedOptions, ordered))
      return false;
    if (same != resolved.end())
      same->second.options = ordered;
    else
      resolved.append({position, ExpandedColumn{column.fieldName, ordered}});
  }
  std::sort(resolved.begin(), resolved.end(),
            [](const auto &a, const auto &b) { return a.first < b.first; });
  args.optionColumns.clear();
  for (const auto &entry : resolved)
    args.optionColumns.append(entry.second);
  return true;
}

bool CheckChartScope(CDBVisiter &session, const ChartArguments &args) {
  const QString error = ScopeWhereError(session, args.where);
  if (error.isEmpty())
    return true;
  ShowMessage(error);
  return false;
}
