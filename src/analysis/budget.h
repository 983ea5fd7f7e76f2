// A monthly budget of an account file: the option column it splits by (e.g.
// 类别), the numeric column it sums (e.g. 金额), and an amount per month for
// options of that column, optionally a total for the month. An amount holds
// for every month unless the same option has one of its own for a month
// set apart.
#pragma once

#include "analysis/month_span.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class ColumnList;

struct BudgetEntry {
  QString option; // empty: the total of the month
  QString month;  // empty: every month; "2026-03": that month only
  double amount = 0;
  bool operator==(const BudgetEntry &) const = default;
};

struct Budget {
  QString byField;  // the option column
  QString sumField; // the numeric column summed
  QList<BudgetEntry> entries;

  // Whether there is anything to show: columns and at least one amount.
  bool IsSet() const { return !byField.isEmpty() && !entries.isEmpty(); }

  // The amount of option in month: the month's own, else every month's;
  // nothing when the option has no budget.
  std::optional<double> AmountFor(const QString &option,
                                  const QString &month) const;
  // The month's total, when one is set.
  std::optional<double> TotalFor(const QString &month) const {
    return AmountFor(QString(), month);
  }
  // Replaces the amount of option for month ("" every month) or adds it.
  void Set(const QString &option, const QString &month, double amount);
  // Drops the amount of option for month, if any.
  void Remove(const QString &option, const QString &month);
  // The options that have an amount in some month, in entry order.
  QStringList Options() const;
  // Every option of choices that has a budget in month, in the order of
  // choices, then the other budgeted options in entry order.
  QStringList OptionsOfMonth(const QStringList &choices,
                             const QString &month) const;

  bool operator==(const Budget &) const = default;
};

// "2026-03" for March 2026.
QString BudgetMonthKey(const YearMonth &month);
// Reads "YYYY-MM" (years 100 to 9999); false for anything else.
bool ParseBudgetMonth(const QString &text, YearMonth &month);
// "本月" for thisMonth, else "2026年3月".
QString BudgetMonthName(const YearMonth &month, const YearMonth &thisMonth);
// The month of today.
YearMonth CurrentMonth();

// Why the columns cannot carry a budget: the option column must be an
// enabled option column, the sum column an enabled numeric one. Empty when
// they fit; the texts name the field.
QString BudgetColumnsProblem(const ColumnList &columns, const QString &byField,
                             const QString &sumField);
// "预算金额不能为负数：餐饮=-5" for a negative amount (or one that is no
// number), naming the option, or 合计 for the month's total; else empty.
QString NegativeAmountProblem(const QString &option, double amount);
// Why an amount cannot be budgeted for option: a negative amount, or an
// option that is not one of the option column's. Empty when it fits.
QString BudgetAmountProblem(const ColumnList &columns, const QString &byField,
                            const QString &option, double amount);
// Reads an amount typed for option ("1200", "99.5"); the message when it is
// no number or negative, empty when amount holds it.
QString ReadBudgetAmount(const QString &option, const QString &text,
                         double &amount);
