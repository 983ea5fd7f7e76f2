// The span of the dates a column holds: where a date filter starts when it
// is switched on, so that turning it on shows the records instead of none.
#pragma once

#include <QDate>
#include <QString>

class CDBVisiter;

// The first and last day of the dates in column field of every record;
// false (first and last untouched) when the column holds no readable date.
bool RecordDateSpan(CDBVisiter &session, const QString &field, QDate &first,
                    QDate &last);
