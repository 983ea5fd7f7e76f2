// Record keys.
#include "records/record_key.h"

#include "groups/group_node.h"

#include <climits>

int KeyFromText(const QString &text) {
  qsizetype pos = 0;
  while (pos < text.size() && text[pos].isSpace())
    ++pos;
  bool negative = false;
  if (pos < text.size() &&
      (text[pos] == QLatin1Char('+') || text[pos] == QLatin1Char('-'))) {
    negative = text[pos] == QLatin1Char('-');
    ++pos;
  }
  long long value = 0;
  for (; pos < text.size(); ++pos) {
    const char16_t c = text[pos].unicode();
    if (c < u'0' || c > u'9')
      break;
    value = value * 10 + (c - u'0');
    if (value > -(long long)INT_MIN)
      value = -(long long)INT_MIN; // stays clamped, never overflows
  }
  if (negative)
    value = -value;
  if (value > INT_MAX)
    return INT_MAX;
  return int(value);
}

int TakeNewKey(GroupNode *group) {
  if (!group || group->largestKey == INT_MAX)
    return 0;
  return ++group->largestKey;
}
