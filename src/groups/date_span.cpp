// The span of a date column's records.
#include "groups/date_span.h"

#include "base/date_text.h"
#include "db/db_visiter.h"

bool RecordDateSpan(CDBVisiter &session, const QString &field, QDate &first,
                    QDate &last) {
  // Stored dates are canonical texts, so Min and Max order them as dates.
  const QString sql = QStringLiteral("Select Min([%1]), Max([%1]) From Users").arg(field);
  if (session.Query(sql) == 0)
    return false;
  const DateValue from = ParseDateTime(session.GetString(0));
  const DateValue to = ParseDateTime(session.GetString(1));
  if (!from.IsValid() || !to.IsValid())
    return false;
  first = from.ToDateTime().date();
  last = to.ToDateTime().date();
  return true;
}
