// Plain number texts, read by the grammar's own number parser so that the
// value is the one a formula holding the text would compute with.
#include "formula/plain_number.h"

#include <boost/spirit/include/classic_assign_actor.hpp>
#include <boost/spirit/include/classic_core.hpp>

bool ParsePlainNumber(const QString &text, double *value) {
  // The longest literal worth reading; longer texts take the slow way.
  constexpr qsizetype kMaxLength = 64;
  if (text.isEmpty() || text.size() > kMaxLength)
    return false;
  char narrow[kMaxLength];
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    const bool allowed = (unit >= u'0' && unit <= u'9') || unit == u'.' ||
                         unit == u'+' || unit == u'-' || unit == u'e' ||
                         unit == u'E';
    if (!allowed)
      return false;
    narrow[i] = char(unit);
  }
  using namespace boost::spirit::classic;
  double parsed = 0;
  const char *first = narrow;
  const char *last = narrow + text.size();
  if (!parse(first, last, real_p[assign_a(parsed)]).full)
    return false;
  *value = parsed;
  return true;
}

bool IsPlainNumber(const QString &text) {
  double ignored = 0;
  return ParsePlainNumber(text, &ignored);
}
