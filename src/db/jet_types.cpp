// The table of Jet type names and their SQLite declarations.
#include "db/jet_types.h"

#include <QByteArray>
#include <QStringList>

#include <cstring>

namespace {

struct TypeEntry {
  const char *jet;
  const char *declared;
  ColumnKind kind;
};

const char kCounter[] = "INTEGER PRIMARY KEY AUTOINCREMENT";

const TypeEntry kTypes[] = {
    {"counter", kCounter, ColumnKind::Integer},
    {"autoincrement", kCounter, ColumnKind::Integer},
    {"identity", kCounter, ColumnKind::Integer},
    {"int", "INT", ColumnKind::Integer},
    {"integer", "INTEGER", ColumnKind::Integer},
    {"long", "INTEGER", ColumnKind::Integer},
    {"integer4", "INTEGER", ColumnKind::Integer},
    {"int4", "INTEGER", ColumnKind::Integer},
    {"smallint", "SMALLINT", ColumnKind::Integer},
    {"short", "SMALLINT", ColumnKind::Integer},
    {"integer2", "SMALLINT", ColumnKind::Integer},
    {"byte", "TINYINT", ColumnKind::Integer},
    {"tinyint", "TINYINT", ColumnKind::Integer},
    {"integer1", "TINYINT", ColumnKind::Integer},
    {"bigint", "BIGINT", ColumnKind::Integer},
    {"float", "FLOAT", ColumnKind::Float},
    {"double", "DOUBLE", ColumnKind::Float},
    {"float8", "DOUBLE", ColumnKind::Float},
    {"ieeedouble", "DOUBLE", ColumnKind::Float},
    {"number", "DOUBLE", ColumnKind::Float},
    {"real", "REAL", ColumnKind::Float},
    {"single", "REAL", ColumnKind::Float},
    {"float4", "REAL", ColumnKind::Float},
    {"ieeesingle", "REAL", ColumnKind::Float},
    {"numeric", "NUMERIC", ColumnKind::Float},
    {"decimal", "DECIMAL", ColumnKind::Float},
    {"dec", "DECIMAL", ColumnKind::Float},
    {"currency", "CURRENCY", ColumnKind::Float},
    {"money", "CURRENCY", ColumnKind::Float},
    {"text", "TEXT", ColumnKind::Text},
    {"memo", "TEXT", ColumnKind::Text},
    {"longtext", "TEXT", ColumnKind::Text},
    {"longchar", "TEXT", ColumnKind::Text},
    {"note", "TEXT", ColumnKind::Text},
    {"ntext", "TEXT", ColumnKind::Text},
    {"varchar", "VARCHAR", ColumnKind::Text},
    {"char", "CHAR", ColumnKind::Text},
    {"character", "CHARACTER", ColumnKind::Text},
    {"nvarchar", "NVARCHAR", ColumnKind::Text},
    {"nchar", "NCHAR", ColumnKind::Text},
    {"string", "VARCHAR", ColumnKind::Text},
    {"alphanumeric", "VARCHAR", ColumnKind::Text},
    {"guid", "CHAR(38)", ColumnKind::Text},
    {"uniqueidentifier", "CHAR(38)", ColumnKind::Text},
    {"datetime", "DATETIME", ColumnKind::Date},
    {"date", "DATE", ColumnKind::Date},
    {"time", "TIME", ColumnKind::Date},
    {"timestamp", "TIMESTAMP", ColumnKind::Date},
    {"yesno", "BOOLEAN", ColumnKind::Bool},
    {"bit", "BOOLEAN", ColumnKind::Bool},
    {"logical", "BOOLEAN", ColumnKind::Bool},
    {"logical1", "BOOLEAN", ColumnKind::Bool},
    {"boolean", "BOOLEAN", ColumnKind::Bool},
    {"image", "BLOB", ColumnKind::Blob},
    {"longbinary", "BLOB", ColumnKind::Blob},
    {"oleobject", "BLOB", ColumnKind::Blob},
    {"general", "BLOB", ColumnKind::Blob},
    {"binary", "BLOB", ColumnKind::Blob},
    {"varbinary", "BLOB", ColumnKind::Blob},
};

const TypeEntry *FindType(const QString &name) {
  for (const TypeEntry &entry : kTypes)
    if (name.compare(QLatin1String(entry.jet), Qt::CaseInsensitive) == 0)
      return &entry;
  return nullptr;
}

bool Contains(const QByteArray &text, const char *part) {
  return text.contains(part);
}

// The size arguments "(n)" or "(n, m)"; i stands on "(".
bool ParseSize(const std::vector<SqlToken> &tokens, size_t &i, size_t end,
               QStringList &sizes) {
  ++i;
  for (;;) {
    if (i >= end || tokens[i].kind != TokenKind::Number)
      return false;
    sizes.append(tokens[i++].text.toString());
    if (i < end && tokens[i].IsPunct(','))
      ++i;
    else
      break;
  }
  if (i >= end || !tokens[i].IsPunct(')'))
    return false;
  ++i;
  return true;
}

} // namespace

ColumnKind KindOfDeclaredType(const char *declared) {
  if (!declared || !*declared)
    return ColumnKind::Other;
  const QByteArray upper = QByteArray(declared).toUpper();
  if (Contains(upper, "DATE") || Contains(upper, "TIME"))
    return ColumnKind::Date;
  if (Contains(upper, "BOOL") || upper == "BIT" || Contains(upper, "YESNO") ||
      Contains(upper, "LOGICAL"))
    return ColumnKind::Bool;
  if (Contains(upper, "INT"))
    return ColumnKind::Integer;
  if (Contains(upper, "CHAR") || Contains(upper, "CLOB") ||
      Contains(upper, "TEXT"))
    return ColumnKind::Text;
  if (Contains(upper, "BLOB"))
    return ColumnKind::Blob;
  if (Contains(upper, "REAL") || Contains(upper, "FLOA") ||
      Contains(upper, "DOUB") || Contains(upper, "NUMERIC") ||
      Contains(upper, "DECIMAL") || Contains(upper, "CURRENCY"))
    return ColumnKind::Float;
  return ColumnKind::Other;
}

ColumnKind KindOfDeclaredType(const QString &declared) {
  return KindOfDeclaredType(declared.toUtf8().constData());
}

QString ColumnKindName(ColumnKind kind) {
  switch (kind) {
  case ColumnKind::Integer:
    return QStringLiteral("整型");
  case ColumnKind::Float:
    return QStringLiteral("浮点型");
  case ColumnKind::Text:
    return QStringLiteral("文本");
  case ColumnKind::Date:
    return QStringLiteral("时间/日期");
  case ColumnKind::Bool:
    return QStringLiteral("是/否");
  case ColumnKind::Blob:
    return QStringLiteral("二进制数据");
  case ColumnKind::Other:
    break;
  }
  return QString();
}

bool ParseJetColumnType(const std::vector<SqlToken> &tokens, size_t &i,
                        size_t end, JetColumnType &out, QString *error) {
  const QString fieldError = QStringLiteral("Syntax error in field definition.");
  if (i >= end || tokens[i].kind != TokenKind::Word) {
    if (error)
      *error = fieldError;
    return false;
  }
  QString name = tokens[i].text.toString();
  size_t next = i + 1;
  // "yes/no" is three tokens.
  if (tokens[i].IsWord("yes") && next + 1 < end && tokens[next].IsPunct('/') &&
      tokens[next + 1].IsWord("no")) {
    name = QStringLiteral("yesno");
    next += 2;
  }
  const TypeEntry *entry = FindType(name);
  if (!entry) {
    if (error)
      *error = fieldError;
    return false;
  }
  QStringList sizes;
  if (next < end && tokens[next].IsPunct('(') &&
      !ParseSize(tokens, next, end, sizes)) {
    if (error)
      *error = fieldError;
    return false;
  }
  out.kind = entry->kind;
  out.counter = entry->declared == kCounter;
  out.declared = QString::fromLatin1(entry->declared);
  // A counter's seed and step mean nothing to SQLite; Jet's text(n) is a
  // varchar(n); other sizes are kept for the record.
  if (!sizes.isEmpty() && !out.counter) {
    if (name.compare(QLatin1String("text"), Qt::CaseInsensitive) == 0)
      out.declared = QStringLiteral("VARCHAR");
    if (out.kind != ColumnKind::Blob && out.kind != ColumnKind::Date)
      out.declared += QLatin1Char('(') + sizes.join(QLatin1Char(',')) +
                      QLatin1Char(')');
  }
  i = next;
  return true;
}
