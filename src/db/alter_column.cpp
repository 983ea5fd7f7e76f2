// The table rebuild behind Alter Column.
#include "db/alter_column.h"

#include "db/jet_functions.h"
#include "db/jet_tokenizer.h"

#include <QList>
#include <QStringList>

#include <vector>

namespace {

const char kRebuildTable[] = "sorvanel_rebuild";

QString Utf8(const unsigned char *text) {
  return text ? QString::fromUtf8(reinterpret_cast<const char *>(text)) : QString();
}

// Runs statements of the rebuild; remembers the first error.
class Runner {
public:
  explicit Runner(sqlite3 *db) : db_(db) {}

  bool Exec(const QString &sql) {
    char *message = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message) ==
        SQLITE_OK)
      return true;
    error_ = QString::fromUtf8(message ? message : sqlite3_errmsg(db_));
    sqlite3_free(message);
    return false;
  }

  // Rows of a query with text columns, bound to one text parameter.
  bool Rows(const QString &sql, const QString &parameter,
            QList<QStringList> &rows) {
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &stmt, nullptr) !=
        SQLITE_OK) {
      error_ = QString::fromUtf8(sqlite3_errmsg(db_));
      return false;
    }
    const QByteArray bound = parameter.toUtf8();
    if (sqlite3_bind_parameter_count(stmt) > 0)
      sqlite3_bind_text(stmt, 1, bound.constData(), int(bound.size()), SQLITE_STATIC);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      QStringList row;
      for (int i = 0; i < sqlite3_column_count(stmt); ++i)
        row.append(Utf8(sqlite3_column_text(stmt, i)));
      rows.append(row);
    }
    if (rc != SQLITE_DONE)
      error_ = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
  }

  const QString &Error() const { return error_; }
  void SetError(const QString &error) { error_ = error; }

private:
  sqlite3 *db_;
  QString error_;
};

struct Token {
  SqlToken token;
  QString lead;
};

bool IsClauseStart(const SqlToken &t) {
  static const char *const kWords[] = {"constraint", "primary", "not", "null",
                                       "unique", "check", "default", "collate",
                                       "references", "generated", "as"};
  for (const char *w : kWords)
    if (t.IsWord(w))
      return true;
  return false;
}

QString Join(const std::vector<Token> &tokens, size_t begin, size_t end) {
  QString out;
  for (size_t i = begin; i < end; ++i) {
    if (i != begin)
      out += tokens[i].lead;
    out += tokens[i].token.text;
  }
  return out;
}

QString NameOf(const SqlToken &t) {
  return (t.kind == TokenKind::Name || t.kind == TokenKind::String ? t.value : t.text)
      .toString();
}

// The constraint clauses of an old column definition (from the first clause
// keyword on), without COLLATE (the new type decides it) and without
// DEFAULT when the new definition brings its own.
QString KeptConstraints(const std::vector<Token> &t, size_t begin, size_t end,
                        bool dropDefault) {
  size_t i = begin;
  while (i < end && !IsClauseStart(t[i].token))
    ++i;
  QString out;
  QString prefix;  // a pending "CONSTRAINT name"
  while (i < end) {
    size_t stop = i + 1;
    if (t[i].token.IsWord("constraint")) {
      stop = std::min(end, i + 2);
      prefix = Join(t, i, stop) + QLatin1Char(' ');
      i = stop;
      continue;
    }
    int depth = 0;
    for (; stop < end; ++stop) {
      if (t[stop].token.IsPunct('('))
        ++depth;
      else if (t[stop].token.IsPunct(')'))
        --depth;
      else if (depth == 0 && IsClauseStart(t[stop].token) &&
               !(t[i].token.IsWord("not") && stop == i + 1) &&
               !(t[i].token.IsWord("default") && stop == i + 1))
        break;
    }
    const bool drop = t[i].token.IsWord("collate") ||
                      (dropDefault && t[i].token.IsWord("default"));
    if (!drop)
      out += QLatin1Char(' ') + prefix + Join(t, i, stop);
    prefix.clear();
    i = stop;
  }
  return out;
}

// The CREATE TABLE text of the rebuilt table: the new name, and the column's
// new definition in place of the old one.
bool RewriteCreate(const QString &createSql, const JetTranslation &alter,
                   QString &out, ColumnKind &oldKind, QString *error) {
  std::vector<SqlToken> raw;
  if (!TokenizeSql(createSql, SqlDialect::Sqlite, raw, error))
    return false;
  std::vector<Token> t;
  QString lead;
  for (SqlToken &token : raw) {
    if (token.kind == TokenKind::Space) {
      lead += QLatin1Char(' ');
      continue;
    }
    t.push_back({std::move(token), lead});
    lead.clear();
  }
  size_t open = 0;
  while (open < t.size() && !t[open].token.IsPunct('('))
    ++open;
  if (open < 3 || open >= t.size()) {
    *error = QStringLiteral("cannot read the definition of table %1").arg(alter.table);
    return false;
  }
  // Items of the column list at depth one.
  size_t close = open;
  int depth = 0;
  std::vector<std::pair<size_t, size_t>> items;
  size_t itemBegin = open + 1;
  for (size_t i = open; i < t.size(); ++i) {
    if (t[i].token.IsPunct('(')) {
      ++depth;
    } else if (t[i].token.IsPunct(')')) {
      if (--depth == 0) {
        items.emplace_back(itemBegin, i);
        close = i;
        break;
      }
    } else if (depth == 1 && t[i].token.IsPunct(',')) {
      items.emplace_back(itemBegin, i);
      itemBegin = i + 1;
    }
  }
  if (close == open) {
    *error = QStringLiteral("cannot read the definition of table %1").arg(alter.table);
    return false;
  }
  const bool newDefault = alter.definition.contains(QLatin1String(" DEFAULT "));
  QStringList columns;
  bool found = false;
  for (const auto &[begin, end] : items) {
    if (begin >= end)
      continue;
    const SqlToken &head = t[begin].token;
    const bool isColumn = head.kind != TokenKind::Word ||
                          !(head.IsWord("constraint") || head.IsWord("primary") ||
                            head.IsWord("unique") || head.IsWord("foreign") ||
                            head.IsWord("check"));
    if (!isColumn || NameOf(head).compare(alter.column, Qt::CaseInsensitive) != 0) {
      columns.append(Join(t, begin, end));
      continue;
    }
    found = true;
    // The old declared type: the words (and size) after the name.
    size_t typeEnd = begin + 1;
    while (typeEnd < end && t[typeEnd].token.kind == TokenKind::Word &&
           !IsClauseStart(t[typeEnd].token))
      ++typeEnd;
    QString oldType = Join(t, begin + 1, typeEnd);
    if (typeEnd < end && t[typeEnd].token.IsPunct('(')) {
      size_t sizeEnd = typeEnd;
      while (sizeEnd < end && !t[sizeEnd].token.IsPunct(')'))
        ++sizeEnd;
      typeEnd = std::min(end, sizeEnd + 1);
    }
    oldKind = KindOfDeclaredType(oldType);
    columns.append(SqliteName(NameOf(head)) + QLatin1Char(' ') + alter.definition +
                   KeptConstraints(t, typeEnd, end, newDefault));
  }
  if (!found) {
    *error = QStringLiteral("no such column: \"%1\"").arg(alter.column);
    return false;
  }
  out = QStringLiteral("CREATE TABLE %1 (%2)%3")
            .arg(SqliteName(QString::fromLatin1(kRebuildTable)),
                 columns.join(QStringLiteral(", ")), Join(t, close + 1, t.size()).prepend(
                     close + 1 < t.size() ? QStringLiteral(" ") : QString()));
  return true;
}

bool Rebuild(Runner &run, const JetTranslation &alter) {
  QList<QStringList> rows;
  if (!run.Rows(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE "
                               "type='table' AND name=?1 COLLATE NOCASE"),
                alter.table, rows))
    return false;
  if (rows.isEmpty() || rows[0][0].startsWith(QLatin1String("sqlite_"),
                                              Qt::CaseInsensitive)) {
    run.SetError(QStringLiteral("no such table: %1").arg(alter.table));
    return false;
  }
  const QString table = rows[0][0];
  const QString createSql = rows[0][1];

  QString newCreate;
  QString error;
  ColumnKind oldKind = ColumnKind::Other;
  if (!RewriteCreate(createSql, alter, newCreate, oldKind, &error)) {
    run.SetError(error);
    return false;
  }

  QList<QStringList> columns;
  if (!run.Rows(QStringLiteral("SELECT name, hidden FROM pragma_table_xinfo(?1)"),
                table, columns))
    return false;
  QList<QStringList> objects;
  if (!run.Rows(QStringLiteral("SELECT sql FROM sqlite_master WHERE tbl_name=?1 "
                               "AND type IN ('index','trigger') AND sql IS NOT NULL"),
                table, objects))
    return false;
  QList<QStringList> sequence;
  const bool hasSequence =
      run.Rows(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name=?1"),
               table, sequence) && !sequence.isEmpty();
  const bool withoutRowid = createSql.contains(QLatin1String("WITHOUT"), Qt::CaseInsensitive) &&
                            createSql.contains(QLatin1String("ROWID"), Qt::CaseInsensitive);

  QStringList targets;
  QStringList sources;
  bool rowidTaken = false;
  for (const QStringList &column : columns) {
    if (column[1] != QLatin1String("0"))
      continue;  // generated columns are computed, not copied
    const QString &name = column[0];
    for (const char *alias : {"rowid", "_rowid_", "oid"})
      rowidTaken |= name.compare(QLatin1String(alias), Qt::CaseInsensitive) == 0;
    targets.append(SqliteName(name));
    if (name.compare(alter.column, Qt::CaseInsensitive) == 0)
      sources.append(QStringLiteral("sorvanel_convert(%1, %2, %3)")
                         .arg(SqliteName(name))
                         .arg(int(oldKind))
                         .arg(int(alter.targetKind)));
    else
      sources.append(SqliteName(name));
  }
  if (!withoutRowid && !rowidTaken) {
    targets.prepend(QStringLiteral("rowid"));
    sources.prepend(QStringLiteral("rowid"));
  }
  const QString rebuild = SqliteName(QString::fromLatin1(kRebuildTable));
  if (!run.Exec(newCreate) ||
      !run.Exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4")
                    .arg(rebuild, targets.join(QLatin1Char(',')),
                         sources.join(QLatin1Char(',')), SqliteName(table))) ||
      !run.Exec(QStringLiteral("DROP TABLE %1").arg(SqliteName(table))) ||
      !run.Exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(rebuild, SqliteName(table))))
    return false;
  if (hasSequence &&
      !run.Exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name=%1;"
                               "INSERT INTO sqlite_sequence (name, seq) SELECT %1, "
                               "max(%2, coalesce((SELECT max(rowid) FROM %3), 0))")
                    .arg(SqliteString(table), sequence[0][0], SqliteName(table))))
    return false;
  for (const QStringList &object : objects)
    if (!run.Exec(object[0]))
      return false;
  return true;
}

} // namespace

bool RebuildWithColumn(sqlite3 *db, const JetTranslation &alter, QString *error) {
  Runner run(db);
  // Inside a unit of work the rebuild is a savepoint of it, so that it
  // reaches the file together with the rest of the unit or not at all.
  const bool nested = !sqlite3_get_autocommit(db);
  // The old table goes before the new one takes its name; references from
  // views and triggers must not be rewritten or checked in between.
  run.Exec(QStringLiteral("PRAGMA legacy_alter_table=ON"));
  bool ok = run.Exec(nested ? QStringLiteral("SAVEPOINT sorvanel_alter")
                            : QStringLiteral("BEGIN IMMEDIATE")) &&
            Rebuild(run, alter) &&
            run.Exec(nested ? QStringLiteral("RELEASE sorvanel_alter")
                            : QStringLiteral("COMMIT"));
  const QString message = run.Error();
  if (!ok && nested) {
    sqlite3_exec(db, "ROLLBACK TO sorvanel_alter", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "RELEASE sorvanel_alter", nullptr, nullptr, nullptr);
  } else if (!ok && !sqlite3_get_autocommit(db)) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  sqlite3_exec(db, "PRAGMA legacy_alter_table=OFF", nullptr, nullptr, nullptr);
  if (ok || !error)
    return ok;
  // The engine only says that some value did not convert; the user needs
  // to know which one.
  QString value;
  *error = FirstUnconvertibleValue(db, alter, value)
               ? ConversionFailureText(alter.column, value,
                                       ColumnKindName(alter.targetKind))
               : message;
  return false;
}

bool FirstUnconvertibleValue(sqlite3 *db, const JetTranslation &alter, QString &value) {
  Runner run(db);
  QList<QStringList> columns;
  if (!run.Rows(QStringLiteral("SELECT name, type FROM pragma_table_info(?1)"),
                alter.table, columns))
    return false;
  ColumnKind from = ColumnKind::Other;
  QString name;
  for (const QStringList &column : columns)
    if (column[0].compare(alter.column, Qt::CaseInsensitive) == 0) {
      name = column[0];
      from = KindOfDeclaredType(column[1]);
    }
  if (name.isEmpty())
    return false;
  // The rows in the order the rebuild's INSERT … SELECT reads them, so the
  // value named is the one the rebuild stopped at.
  const QByteArray sql = QStringLiteral("SELECT %1 FROM %2")
                             .arg(SqliteName(name), SqliteName(alter.table))
                             .toUtf8();
  sqlite3_stmt *stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt);
    return false;
  }
  bool found = false;
  while (!found && sqlite3_step(stmt) == SQLITE_ROW) {
    // A protected copy: the conversion reads the value as a function would.
    sqlite3_value *stored = sqlite3_value_dup(sqlite3_column_value(stmt, 0));
    ConvertedValue converted;
    found = stored && !ConvertJetValue(stored, from, alter.targetKind, converted);
    if (found)
      value = Utf8(sqlite3_value_text(stored));
    sqlite3_value_free(stored);
  }
  sqlite3_finalize(stmt);
  return found;
}

QString ConversionFailureText(const QString &column, const QString &value,
                              const QString &type) {
  constexpr int kLongest = 60;
  const QString shown =
      value.size() > kLongest ? value.left(kLongest) + QStringLiteral("…") : value;
  return QStringLiteral("%1列的值\"%2\"无法转换为%3").arg(column, shown, type);
}
