// Putting texts into SQL statements.
//
// Every text that a statement carries between single quotes goes through
// QuoteSql first, so a value such as O'Brien is stored as typed and no text
// can end its literal early or change what the statement does.
//
// Statements are filled with QString::asprintf in one pass over the format,
// so a "%1" or "%s" inside a user's text is never taken for a placeholder.
// Its "%s" takes UTF-8: pass SqlArg(text).constData(), or
// QuotedSqlArg(text).constData() for a text between single quotes.
#pragma once

#include <QByteArray>
#include <QString>

// The text with every single quote doubled, ready to stand between single
// quotes in a statement.
QString QuoteSql(const QString &text);

// The text between single quotes, its own quotes doubled: O'Brien gives
// 'O''Brien'.
QString SqlTextLiteral(const QString &text);

// UTF-8 of text for a "%s" of QString::asprintf.
inline QByteArray SqlArg(const QString &text) { return text.toUtf8(); }
// UTF-8 of text with its quotes doubled, for a '%s' of QString::asprintf.
inline QByteArray QuotedSqlArg(const QString &text) {
  return QuoteSql(text).toUtf8();
}
