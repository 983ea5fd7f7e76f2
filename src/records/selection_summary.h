// The note on the selected cells of the records grid: how many there are,
// the sum of the numbers their texts begin with, and the average.
#pragma once

#include <QString>
#include <QStringView>

// The number at the start of text: after leading white space, the longest
// prefix forming a decimal number with optional sign, point and exponent;
// 0 when the text does not begin with one (a date 2010/5/3 gives 2010).
double LeadingValue(QStringView text);

struct SelectionSummary {
  long long count = 0;
  double sum = 0;

  void Add(QStringView text) {
    ++count;
    sum += LeadingValue(text);
  }
  // "统计=%d 求和=%s 平均=%s" with sum and average to at most 3 decimals;
  // false (and no text) for fewer than two cells.
  bool Text(QString &text) const;
};
