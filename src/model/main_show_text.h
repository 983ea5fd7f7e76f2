// The main show message: the settings row's tip with its embedded queries
// replaced by their results.
//
// A tip is free text in which each query stands between "{" and "}". When
// the window shows only some records, every whole word "Users" in the tip
// (any letter case) becomes a subquery over those records first, so the
// queries count and sum what the window shows.
#pragma once

#include <QString>

class CDBVisiter;
struct MiscSettings;

// "请设置主显示消息！！" for an empty tip. The queries run through the
// session's current result, replacing it, and only read: a query that would
// change the file is not run. A query that fails, is refused or finds no
// row stays in the text as written; a number shows with at most six
// decimals, an empty result (the sum of no records) as 0.
QString ComposeMainShowText(CDBVisiter &session, const MiscSettings &settings,
                            const QString &whereText);
QString ComposeMainShowText(CDBVisiter &session, const QString &tip,
                            const QString &whereText);
// The same where there may be no session: the queries then stay as
// written.
QString ComposeMainShowText(CDBVisiter *session, const MiscSettings &settings,
                            const QString &whereText);

// Replaces every whole word "Users" (any letter case) in text by
// "(Select * From Users Where <whereText>)", the WHERE text copied as it is.
QString RestrictUsersTable(const QString &text, const QString &whereText);
