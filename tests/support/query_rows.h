// Reading whole results in tests.
#pragma once

#include <QString>
#include <QStringList>

class CDBVisiter;

// Every row of sql, its cells read with GetString and joined by "|"; empty
// when the query gives no rows or fails.
QStringList QueryRows(CDBVisiter &session, const QString &sql);
