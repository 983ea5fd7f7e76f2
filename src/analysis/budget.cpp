// The budget of an account file and the checks of what goes into it.
#include "analysis/budget.h"

#include "analysis/chart_columns.h"
#include "model/column_list.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>

std::optional<double> Budget::AmountFor(const QString &option,
                                        const QString &month) const {
  std::optional<double> everyMonth;
  for (const BudgetEntry &entry : entries) {
    if (entry.option != option)
      continue;
    if (entry.month == month)
      return entry.amount;
    if (entry.month.isEmpty())
      everyMonth = entry.amount;
  }
  return everyMonth;
}

void Budget::Set(const QString &option, const QString &month, double amount) {
  for (BudgetEntry &entry : entries) {
    if (entry.option == option && entry.month == month) {
      entry.amount = amount;
      return;
    }
  }
  entries.append({option, month, amount});
}

void Budget::Remove(const QString &option, const QString &month) {
  entries.removeIf([&](const BudgetEntry &entry) {
    return entry.option == option && entry.month == month;
  });
}

QStringList Budget::Options() const {
  QStringList options;
  for (const BudgetEntry &entry : entries)
    if (!entry.option.isEmpty() && !options.contains(entry.option))
      options.append(entry.option);
  return options;
}

QStringList Budget::OptionsOfMonth(const QStringList &choices,
                                   const QString &month) const {
  QStringList options;
  for (const QString &choice : choices)
    if (AmountFor(choice, month) && !options.contains(choice))
      options.append(choice);
  for (const QString &option : Options())
    if (!options.contains(option) && AmountFor(option, month))
      options.append(option);
  return options;
}

QString BudgetMonthKey(const YearMonth &month) {
  return QString::asprintf("%04d-%02d", month.year, month.month);
}

bool ParseBudgetMonth(const QString &text, YearMonth &month) {
  static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{2})$"));
  const QRegularExpressionMatch match = form.match(text);
  if (!match.hasMatch())
    return false;
  const int year = match.captured(1).toInt();
  const int number = match.captured(2).toInt();
  if (year < 100 || number < 1 || number > 12)
    return false;
  month = YearMonth{year, number};
  return true;
}

QString BudgetMonthName(const YearMonth &month, const YearMonth &thisMonth) {
  if (month == thisMonth)
    return QStringLiteral("本月");
  return QStringLiteral("%1年%2月").arg(month.year).arg(month.month);
}

YearMonth CurrentMonth() {
  const QDate today = QDate::currentDate();
  return YearMonth{today.year(), today.month()};
}

QString BudgetColumnsProblem(const ColumnList &columns, const QString &byField,
                             const QString &sumField) {
  const int by = columns.PositionOf(byField);
  if (by < 0)
    return QStringLiteral("没有字段[%1]").arg(byField);
  if (columns.At(by).type != FT_OPTION || !columns.At(by).enabled)
    return QStringLiteral("字段[%1]不是可选型字段，不能按它设置预算").arg(byField);
  if (columns.PositionOf(sumField) < 0)
    return QStringLiteral("没有字段[%1]").arg(sumField);
  if (!ChartSumColumn(columns, sumField))
    return QStringLiteral("字段[%1]不是数字字段，不能汇总").arg(sumField);
  return QString();
}

QString NegativeAmountProblem(const QString &option, double amount) {
  if (std::isfinite(amount) && amount >= 0)
    return QString();
  return QStringLiteral("预算金额不能为负数：%1=%2")
      .arg(option.isEmpty() ? QStringLiteral("合计") : option)
      .arg(amount);
}

QString BudgetAmountProblem(const ColumnList &columns, const QString &byField,
                            const QString &option, double amount) {
  const QString negative = NegativeAmountProblem(option, amount);
  if (!negative.isEmpty() || option.isEmpty())
    return negative;
  const int by = columns.PositionOf(byField);
  const QStringList choices =
      by < 0 ? QStringList() : columns.At(by).Choices();
  if (choices.contains(option))
    return QString();
  return QStringLiteral("“%1”不是字段[%2]的选项，可选的有：%3")
      .arg(option, byField, choices.join(QLatin1Char('|')));
}

QString ReadBudgetAmount(const QString &option, const QString &text,
                         double &amount) {
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value))
    return QStringLiteral("预算金额不是数字：%1=%2").arg(option, text);
  const QString negative = NegativeAmountProblem(option, value);
  if (negative.isEmpty())
    amount = value;
  return negative;
}
