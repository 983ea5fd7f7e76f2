// The note on the selected cells of the records grid: how many cells of
// records there are (group headers and new-record rows are left out), and
// the sum and average of those in numeric columns (key, integer,
// floating), read from the numbers their texts begin with. A date's year or
// a text's leading digits are no amount and are left out of both.
#pragma once

#include <QString>
#include <QStringView>

// The number at the start of text: after leading white space, the longest
// prefix forming a decimal number with optional sign, point and exponent;
// 0 when the text does not begin with one (a date 2010/5/3 gives 2010).
double LeadingValue(QStringView text);

struct SelectionSummary {
  long long count = 0;
  long long numbers = 0; // the cells of numeric columns among them
  double sum = 0;

  void Add(QStringView text, bool numeric) {
    ++count;
    if (!numeric)
      return;
    ++numbers;
    sum += LeadingValue(text);
  }
  // "统计=%d 求和=%s 平均=%s" with sum and average (over the numeric cells;
  // 0 without any) to at most 3 decimals; false (and no text) for fewer
  // than two cells.
  bool Text(QString &text) const;
};
