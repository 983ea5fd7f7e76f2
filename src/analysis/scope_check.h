// Whether the WHERE text of a chart's scope runs at all: a text that the
// engine refuses would otherwise leave a chart empty, as if no record were
// in scope.
#pragma once

#include <QString>

class CDBVisiter;

// Why "SELECT COUNT(*) FROM Users WHERE (where)" fails, in Chinese with
// the engine's message as the detail (ConditionRefusal); empty when it
// runs, and for an empty where.
QString ScopeWhereError(CDBVisiter &session, const QString &where);
