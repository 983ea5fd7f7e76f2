// Values bound to prepared INSERTs; see bound_value.h.
#include "db/bound_value.h"

bool BoundWholeNumber(const QString &text, qint64 *value) {
  const qsizetype size = text.size();
  qsizetype i = size > 0 && text[0] == QLatin1Char('-') ? 1 : 0;
  if (i == size || size - i > 19)
    return false;
  for (qsizetype j = i; j < size; ++j)
    if (text[j] < QLatin1Char('0') || text[j] > QLatin1Char('9'))
      return false;
  bool ok = false;
  *value = text.toLongLong(&ok);
  return ok;
}
