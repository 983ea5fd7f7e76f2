// The tables of the yearly statement; see year_report_tables.h.
#include "print/year_report_tables.h"

QString MonthCaption(int month) { return QStringLiteral("%1月").arg(month + 1); }

QString MonthTableTitle() { return QStringLiteral("各月笔数与合计"); }

QString OptionTableTitle(const YearStatement &statement) {
  return QStringLiteral("按%1分列的合计").arg(statement.byTitle);
}

QString SumText(double sum) { return QString::number(sum, 'f', 2); }

QString MonthTableSource::Caption(int column) const {
  switch (column) {
  case 0:
    return QStringLiteral("月份");
  case 1:
    return QStringLiteral("笔数");
  case 2:
    return s_.HasSides() ? QStringLiteral("支出") : s_.sumTitle + QStringLiteral("合计");
  case 3:
    return QStringLiteral("收入");
  default:
    return QStringLiteral("结余");
  }
}

QString MonthTableSource::Text(int column, int row) const {
  const PeriodTotal &total = row < 12 ? s_.months[size_t(row)] : s_.total;
  const SideTotals &sides = row < 12 ? s_.sideMonths[size_t(row)] : s_.sideTotal;
  switch (column) {
  case 0:
    return row < 12 ? MonthCaption(row) : QStringLiteral("全年");
  case 1:
    return QString::number(total.count);
  case 2:
    return SumText(s_.HasSides() ? sides.spending.sum : total.sum);
  case 3:
    return SumText(sides.income.sum);
  default:
    return SumText(sides.Balance());
  }
}

Qt::Alignment MonthTableSource::Alignment(int column, int) const {
  return column == 0 ? Qt::AlignLeft : Qt::AlignRight;
}

QString OptionTableSource::Caption(int column) const {
  if (column == 0)
    return s_.byTitle;
  return column <= 12 ? MonthCaption(column - 1) : QStringLiteral("全年");
}

int OptionTableSource::Width(int column) const {
  return column == 0 ? 110 : column <= 12 ? 66 : 84;
}

QString OptionTableSource::Text(int column, int row) const {
  const OptionTableRow &line = rows_[row];
  if (column == 0)
    return line.label;
  const PeriodTotal &total =
      column <= 12 ? line.months[size_t(column - 1)] : line.year;
  return total.count == 0 ? QString() : SumText(total.sum);
}

Qt::Alignment OptionTableSource::Alignment(int column, int) const {
  return column == 0 ? Qt::AlignLeft : Qt::AlignRight;
}
