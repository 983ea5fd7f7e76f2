// The budget editor's rows and their writing.
#include "analysis/budget_edit.h"

#include "formula/format_decimal.h"
#include "model/column_list.h"

namespace {

QString AmountText(const std::optional<double> &amount) {
  return amount ? FormatDecimal(*amount, 6) : QString();
}

} // namespace

QList<BudgetEditRow> BudgetEditRows(const ColumnList &columns,
                                    const Budget &budget,
                                    const QString &byField,
                                    const QString &month) {
  QList<BudgetEditRow> rows;
  const int by = columns.PositionOf(byField);
  if (by < 0)
    return rows;
  const bool same = budget.byField.compare(byField, Qt::CaseInsensitive) == 0;
  // Budgeted options the column no longer has stay visible, to be cleared.
  QStringList options = columns.At(by).Choices();
  if (same)
    for (const QString &option : budget.Options())
      if (!options.contains(option))
        options.append(option);
  options.append(QString());
  for (const QString &option : options)
    rows.append({option, same ? AmountText(budget.AmountFor(option, month))
                              : QString()});
  return rows;
}

QString DefaultBudgetByField(const ColumnList &columns) {
  QString field;
  qsizetype most = 0;
  for (const ColumnDef &column : columns.ChoiceColumns()) {
    if (column.Choices().size() > most) {
      most = column.Choices().size();
      field = column.fieldName;
    }
  }
  return field;
}

QString MonthBefore(const QString &month) {
  YearMonth current = CurrentMonth();
  ParseBudgetMonth(month, current);
  return BudgetMonthKey(YearMonth::FromIndex(current.Index() - 1));
}

bool ApplyBudgetEdit(const ColumnList &columns, const QString &byField,
                     const QString &sumField, const QString &month,
                     const QList<BudgetEditRow> &rows, Budget &budget,
                     QString &problem, int &badRow) {
  badRow = -1;
  problem = BudgetColumnsProblem(columns, byField, sumField);
  if (!problem.isEmpty())
    return false;
  Budget edited = budget;
  if (edited.byField.compare(byField, Qt::CaseInsensitive) != 0 ||
      edited.sumField.compare(sumField, Qt::CaseInsensitive) != 0)
    edited = Budget{byField, sumField, {}};
  for (int i = 0; i < rows.size(); ++i) {
    const BudgetEditRow &row = rows[i];
    const QString name =
        row.option.isEmpty() ? QStringLiteral("合计") : row.option;
    if (row.text.trimmed().isEmpty()) {
      edited.Remove(row.option, month);
      continue;
    }
    double amount = 0;
    problem = ReadBudgetAmount(name, row.text, amount);
    if (!problem.isEmpty()) {
      badRow = i;
      return false;
    }
    const std::optional<double> everyMonth = edited.AmountFor(row.option, QString());
    if (!month.isEmpty() && everyMonth == amount)
      edited.Remove(row.option, month);
    else
      edited.Set(row.option, month, amount);
  }
  budget = edited;
  return true;
}
