// Decimal count of a formula text.
#include "formula/count_decimals.h"

namespace {

bool IsSeparator(QChar c) {
  switch (c.unicode()) {
  case u'+':
  case u'-':
  case u'*':
  case u'/':
  case u'(':
  case u')':
  case u' ':
    return true;
  default:
    return false;
  }
}

} // namespace

int CountDecimals(const QString &text) {
  int best = 0;
  qsizetype point = -1; // first point of the current token
  const qsizetype size = text.size();
  for (qsizetype i = 0; i <= size; ++i) {
    if (i == size || IsSeparator(text[i])) {
      if (point >= 0 && i - point - 1 > best)
        best = int(i - point - 1);
      point = -1;
      continue;
    }
    if (point < 0 && text[i] == QLatin1Char('.'))
      point = i;
  }
  return best;
}
