// Splits SQL text into tokens, for the Jet dialect adapter and for reading
// back the SQLite table definitions the adapter wrote.
//
// The two dialects differ in one place only: in Jet a text between double
// quotes is a string, in SQLite it is a name. Quoted texts and names are
// decoded into value, so that no later step ever looks inside them.
#pragma once

#include <QString>

#include <vector>

enum class SqlDialect { Jet, Sqlite };

enum class TokenKind {
  Space,   // blanks and line breaks (and, in SQLite text, comments)
  Word,    // a keyword or a bare name
  Number,  // 12, 1.5, .5e3
  String,  // a quoted text; value holds it without quotes
  Name,    // [name], `name`, or "name" in SQLite text; value holds the name
  Date,    // #...#; value holds what stands between the signs
  Punct,   // an operator or punctuation, one or two characters
};

// Tokens look into the tokenized text, which must outlive them; only a
// quoted text with doubled quotes gets storage of its own.
struct SqlToken {
  TokenKind kind = TokenKind::Space;
  QStringView text;   // the token exactly as written
  QStringView value;  // decoded content of String, Name and Date tokens
  QString storage;    // holds value when it had to be decoded
  qsizetype offset = 0;

  bool IsWord(const char *word) const;
  bool IsPunct(char c) const;
};

// Fails with an engine-style message for an unterminated quote, bracket or
// date literal, or a character that belongs to no token.
bool TokenizeSql(const QString &sql, SqlDialect dialect,
                 std::vector<SqlToken> &tokens, QString *error);

// Quoting for emitted SQLite text: 'text' with quotes doubled, "name" with
// double quotes doubled.
QString SqliteString(QStringView text);
QString SqliteName(QStringView name);
// The same, appended to out.
void AppendQuoted(QString &out, QStringView text, QChar quote);
