// Quote doubling for text literals in SQL statements.
#include "model/sql_text.h"

QString QuoteSql(const QString &text) {
  const QLatin1Char quote('\'');
  if (!text.contains(quote))
    return text;
  QString result = text;
  result.replace(quote, QLatin1String("''"));
  return result;
}

QString SqlTextLiteral(const QString &text) {
  return QLatin1Char('\'') + QuoteSql(text) + QLatin1Char('\'');
}
