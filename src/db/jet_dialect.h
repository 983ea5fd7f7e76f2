// The Jet dialect adapter: turns one Jet SQL statement, as the rest of the
// system writes it, into one SQLite statement of the same meaning.
//
// The statement is tokenized first, and only whole tokens are rewritten:
// nothing inside a quoted text or a bracketed name is ever touched.
//
// Storage conventions (templates, the session and every caller rely on them):
// - Dates, times and date-times are stored as the text "YYYY-MM-DD HH:MM:SS".
//   A date alone has the time 00:00:00; a time alone lies on the zero day
//   1899-12-30. #...# literals become that text ('2010-08-01 00:00:00'), so
//   comparisons, Min, Max and ORDER BY work on the text.
//   Jet's date() is today's date at midnight (local time), now() the local
//   date and time, time() the local time on the zero day.
// - Flags (yes/no, bit, logical, boolean) are declared BOOLEAN and stored as
//   the integers 1 and 0; true and false become 1 and 0.
// - Declared types keep a telling name: INT, INTEGER, SMALLINT, TINYINT,
//   FLOAT, DOUBLE, REAL, NUMERIC, CURRENCY, VARCHAR(n), CHAR(n), TEXT (text,
//   memo), DATETIME, DATE, TIME, BOOLEAN, BLOB (Image, long binary).
//   COUNTER (with or without its Primary Key) becomes
//   INTEGER PRIMARY KEY AUTOINCREMENT. Sizes of text columns are recorded but
//   not enforced.
// - Every text column is declared COLLATE NOCASE, so comparisons of a text
//   column with a literal, IN lists, ORDER BY, GROUP BY, DISTINCT, Min and
//   Max ignore letter case as Jet does. A session's connection replaces
//   SQLite's NOCASE, which folds A-Z only, by Unicode case folding, and
//   LIKE by Jet's (jet_collation.h).
// - [name] and `name` become "name"; a text between double quotes is a Jet
//   string and becomes 'text'. Single quotes inside texts are doubled.
//
// Other rewrites: "Delete * From" / "Delete t.* From" → DELETE FROM;
// @@IDENTITY → last_insert_rowid(); DISTINCTROW → DISTINCT; Mod → %;
// & (text concatenation) → ||; Select Top n → LIMIT n; the functions Left,
// Right, Mid, Len, UCase, LCase → jet_left, jet_right, substr, length,
// upper, lower (the first two, and Jet's Nz, Year, Month, Day, ..., exist on
// a session's connection, see jet_functions.h); "Drop Index i On t"
// → DROP INDEX i; Alter Table … Add [Column] / Drop [Column] map to SQLite's
// forms; Alter Table … Alter [Column] c type is a table rebuild that only a
// session can run (see alter_column.h).
//
// Refused with an engine-style message: text after the statement (other
// than blanks and one ';'), parameters (?, :x, @x, $x), statement kinds Jet
// does not have (PRAGMA, ATTACH, VACUUM, BEGIN, ...), unknown type names,
// impossible date literals.
#pragma once

#include "db/jet_types.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

struct JetTranslation {
  enum Kind {
    Plain,        // sql is one SQLite statement
    AlterColumn,  // rebuild table so that column has definition
  };
  Kind kind = Plain;
  QString sql;
  QString table;
  QString column;
  QString definition;  // the column definition after its name, SQLite text
  ColumnKind targetKind = ColumnKind::Other;
};

// Translates one Jet statement. On failure error holds the message to show.
bool TranslateJet(const QString &jet, JetTranslation &out, QString *error);

// The columns of a table as far as writing values the way Jet stores them
// needs: the names in declaration order and which of them hold integers.
struct JetTableColumns {
  QStringList names;
  std::vector<bool> integer;

  // Whether the column of that name (letter case ignored) holds integers;
  // false for a name the table does not have.
  bool IsInteger(const QString &name) const;
};

// What the adapter may ask of the file's tables; the session answers from
// its connection.
class JetSchema {
public:
  virtual ~JetSchema() = default;
  // The columns of table, or null when there is no such table.
  virtual const JetTableColumns *Columns(const QString &table) = 0;
};

// As above; with a schema, the values that "Insert Into t [(c, ...)]
// Values (...)" and "Update t Set c = v, ..." write into integer columns
// pass through jet_integer (jet_functions.h), so an integer column holds
// integers, rounded as Jet rounds.
bool TranslateJet(const QString &jet, JetTranslation &out, QString *error,
                  JetSchema *schema);

// The plain form for callers that run the result themselves with the SQLite
// API (the template builder): the UTF-8 text of one SQLite statement. Alter
// Column, which needs a session, fails here with a message saying so.
bool TranslateJetSql(const QString &jet, QByteArray &sqliteUtf8,
                     QString *error);
