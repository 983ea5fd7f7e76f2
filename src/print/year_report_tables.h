// The two tables of the yearly statement as table sources, for its printed
// pages and its HTML: the months (count and sum, or with sides count,
// spending, income and balance; then the year) and the options (the sum per
// month and for the year, then the totals: OptionTableRows).
#pragma once

#include "analysis/year_statement.h"
#include "print/table_source.h"

// "1月" … "12月" for month 0 … 11.
QString MonthCaption(int month);
// The titles of the two tables.
QString MonthTableTitle();
QString OptionTableTitle(const YearStatement &statement);
// A sum as the statement shows it: two decimals.
QString SumText(double sum);

class MonthTableSource : public TableSource {
public:
  explicit MonthTableSource(const YearStatement &statement) : s_(statement) {}
  int ColumnCount() const override { return s_.HasSides() ? 5 : 3; }
  QString Caption(int column) const override;
  int Width(int column) const override { return column == 0 ? 90 : 140; }
  int RowCount() const override { return 13; }
  bool IsGroupRow(int) const override { return false; }
  QString Text(int column, int row) const override;
  Qt::Alignment Alignment(int column, int) const override;

private:
  const YearStatement &s_;
};

class OptionTableSource : public TableSource {
public:
  explicit OptionTableSource(const YearStatement &statement)
      : s_(statement), rows_(OptionTableRows(statement)) {}
  int ColumnCount() const override { return 14; }
  QString Caption(int column) const override;
  int Width(int column) const override;
  int RowCount() const override { return int(rows_.size()); }
  bool IsGroupRow(int) const override { return false; }
  QString Text(int column, int row) const override;
  Qt::Alignment Alignment(int column, int) const override;

private:
  const YearStatement &s_;
  const QList<OptionTableRow> rows_;
};
