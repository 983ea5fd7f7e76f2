// The Jet column types and how each is declared in SQLite.
//
// Every declared type keeps a name from which the kind of value can be told
// (so a DATE column is known from a TIME or TEXT column when read back), and
// which gives SQLite the right affinity: texts get TEXT affinity, numbers
// INTEGER/REAL, dates NUMERIC (their canonical text is no number and stays
// text), flags NUMERIC, long binary BLOB.
#pragma once

#include "db/jet_tokenizer.h"

#include <QString>

#include <vector>

// The kind of value a column holds, as far as reading and converting care.
enum class ColumnKind { Other, Integer, Float, Text, Date, Bool, Blob };

// The kind of a declared SQLite type (sqlite3_column_decltype); Other for
// none.
ColumnKind KindOfDeclaredType(const char *declared);
ColumnKind KindOfDeclaredType(const QString &declared);
// The Chinese name of a kind for messages: 整型, 浮点型, 文本, 时间/日期,
// 是/否, 二进制数据; empty for Other.
QString ColumnKindName(ColumnKind kind);

struct JetColumnType {
  QString declared;        // the SQLite declaration, e.g. "VARCHAR(50)"
  ColumnKind kind = ColumnKind::Other;
  bool counter = false;    // COUNTER: declared already holds PRIMARY KEY
};

// Reads a Jet type name (with its size in parentheses, if any) from
// tokens[i], which hold no blanks; i moves past it. Fails with Jet's text
// for a name that is no Jet type.
bool ParseJetColumnType(const std::vector<SqlToken> &tokens, size_t &i,
                        size_t end, JetColumnType &out, QString *error);
