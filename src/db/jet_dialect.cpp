// The Jet dialect adapter: statement kinds, column definitions and the
// token-by-token rewrite of expressions.
#include "db/jet_dialect.h"

#include "base/date_text.h"
#include "db/jet_tokenizer.h"

#include <vector>

namespace {

const char kInvalidStatement[] =
    "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', "
    "'SELECT', or 'UPDATE'.";
const char kTrailingText[] = "Characters found after end of SQL statement.";
const char kParameters[] = "No value given for one or more required parameters.";
const char kAlterSyntax[] = "Syntax error in ALTER TABLE statement.";
const char kCreateSyntax[] = "Syntax error in CREATE TABLE statement.";
const char kFieldSyntax[] = "Syntax error in field definition.";

bool IsIdentChar(QChar c) {
  return c.isLetterOrNumber() || c == QLatin1Char('_') ||
         c == QLatin1Char('$') || c.unicode() >= 0x80;
}

class Translator {
public:
  explicit Translator(JetSchema *schema) : schema_(schema) {}
  bool Run(const QString &jet, JetTranslation &out, QString *error);

private:
  bool Fail(const QString &message) {
    error_ = message;
    return false;
  }
  bool Fail(const char *message) { return Fail(QString::fromUtf8(message)); }

  const SqlToken &Tok(size_t i) const { return t_[i]; }
  size_t Count() const { return t_.size(); }
  bool IsWordAt(size_t i, const char *w) const {
    return i < Count() && Tok(i).IsWord(w);
  }
  bool IsPunctAt(size_t i, char c) const {
    return i < Count() && Tok(i).IsPunct(c);
  }

  void Emit(QString &out, QStringView lead, QStringView piece) const;
  void EmitQuoted(QString &out, QStringView lead, QStringView value,
                  QChar quote) const;
  // The index after the parenthesis that closes the one at open, or npos.
  size_t MatchParen(size_t open, size_t end) const;

  bool Expression(size_t begin, size_t end, QString &out);
  bool Token(size_t &i, size_t end, QString &out);
  bool Select(size_t &i, size_t end, QString &out);

  bool Dml(QString &out);
  // The token ranges of the values that an INSERT or UPDATE of this shape
  // writes into integer columns; empty for any other statement.
  using Ranges = std::vector<std::pair<size_t, size_t>>;
  Ranges IntegerValues();
  Ranges InsertIntegerValues(const JetTableColumns &columns);
  Ranges UpdateIntegerValues(const JetTableColumns &columns);
  // The name a Word or Name token stands for.
  QString NameAt(size_t i) const;
  // The end of the expression starting at i: the first ',' (or stop word)
  // outside parentheses, or end.
  size_t ExpressionEnd(size_t i, size_t end, const char *stopWord) const;
  bool CreateTable(QString &out);
  bool ColumnDefinition(size_t begin, size_t end, bool named, QString &out,
                        JetColumnType *type);
  bool DefaultValue(size_t &i, size_t end, QString &out);
  bool AlterTable(JetTranslation &result);
  bool DropStatement(QString &out);

  // The tokens without blanks, and the blanks that stood before each.
  std::vector<SqlToken> t_;
  std::vector<QStringView> lead_;
  QString error_;
  // Pending LIMITs of Select Top, by parenthesis depth.
  std::vector<std::pair<int, QString>> limits_;
  int depth_ = 0;
  JetSchema *schema_ = nullptr;
};

void Translator::EmitQuoted(QString &out, QStringView lead, QStringView value,
                            QChar quote) const {
  Emit(out, lead, QStringView());
  if (!out.isEmpty() && lead.isEmpty() && out.back() == quote)
    out += QLatin1Char(' ');
  AppendQuoted(out, value, quote);
}

void Translator::Emit(QString &out, QStringView lead, QStringView piece) const {
  if (piece.isEmpty()) {
    // EmitQuoted: only the blanks before the quoted text.
    if (!out.isEmpty())
      out += lead;
    return;
  }
  if (!out.isEmpty()) {
    if (!lead.isEmpty()) {
      out += lead;
    } else {
      const QChar a = out.back();
      const QChar b = piece.front();
      // Never glue two words, two quoted texts or a comment opener together.
      const bool glue = (IsIdentChar(a) && IsIdentChar(b)) ||
                        (a == QLatin1Char('-') && b == QLatin1Char('-')) ||
                        (a == QLatin1Char('/') && b == QLatin1Char('*')) ||
                        (a == b && (a == QLatin1Char('\'') ||
                                    a == QLatin1Char('"')));
      if (glue)
        out += QLatin1Char(' ');
    }
  }
  out += piece;
}

size_t Translator::MatchParen(size_t open, size_t end) const {
  int depth = 0;
  for (size_t i = open; i < end; ++i) {
    if (Tok(i).IsPunct('('))
      ++depth;
    else if (Tok(i).IsPunct(')') && --depth == 0)
      return i + 1;
  }
  return std::string::npos;
}

bool Translator::Run(const QString &jet, JetTranslation &out, QString *error) {
  std::vector<SqlToken> tokens;
  if (!TokenizeSql(jet, SqlDialect::Jet, tokens, &error_)) {
    if (error)
      *error = error_;
    return false;
  }
  QStringView lead;
  bool ended = false;
  t_.reserve(tokens.size());
  lead_.reserve(tokens.size());
  for (SqlToken &t : tokens) {
    if (t.kind == TokenKind::Space) {
      lead = t.text;  // blanks are one token in Jet text
      continue;
    }
    if (ended) {
      if (error)
        *error = QString::fromUtf8(kTrailingText);
      return false;
    }
    if (t.IsPunct(';')) {
      ended = true;
      continue;
    }
    t_.push_back(std::move(t));
    lead_.push_back(lead);
    lead = QStringView();
  }
  if (!lead_.empty())
    lead_.front() = QStringView();
  bool ok = false;
  out = JetTranslation();
  out.sql.reserve(jet.size() + 32);
  if (t_.empty()) {
    ok = Fail(kInvalidStatement);
  } else if (Tok(0).IsWord("create")) {
    ok = CreateTable(out.sql);
  } else if (Tok(0).IsWord("alter")) {
    ok = AlterTable(out);
  } else if (Tok(0).IsWord("drop")) {
    ok = DropStatement(out.sql);
  } else {
    ok = Dml(out.sql);
  }
  if (!ok && error)
    *error = error_;
  return ok;
}

bool Translator::Dml(QString &out) {
  const SqlToken &first = Tok(0);
  const bool known = first.IsWord("select") || first.IsWord("insert") ||
                     first.IsWord("update") || first.IsWord("delete") ||
                     first.IsPunct('(');
  if (!known)
    return Fail(kInvalidStatement);
  if (first.IsWord("delete")) {
    // "Delete * From t" and "Delete t.* From t": SQLite has no select list.
    size_t from = 1;
    while (from < Count() && !Tok(from).IsWord("from"))
      ++from;
    if (from < Count() && from > 1 && Tok(from - 1).IsPunct('*')) {
      Emit(out, QString(), QStringLiteral("DELETE"));
      QString rest;
      if (!Expression(from, Count(), rest))
        return false;
      out += QLatin1Char(' ') + rest;
      return true;
    }
  }
  const Ranges integers = IntegerValues();
  size_t at = 0;
  for (const auto &[begin, end] : integers) {
    QString value;
    if (!Expression(at, begin, out) || !Expression(begin, end, value))
      return false;
    Emit(out, lead_[begin], QStringLiteral("jet_integer(") + value + QLatin1Char(')'));
    at = end;
  }
  return Expression(at, Count(), out);
}

QString Translator::NameAt(size_t i) const {
  if (i >= Count())
    return QString();
  const SqlToken &t = Tok(i);
  if (t.kind == TokenKind::Name)
    return t.value.toString();
  return t.kind == TokenKind::Word ? t.text.toString() : QString();
}

size_t Translator::ExpressionEnd(size_t i, size_t end, const char *stopWord) const {
  int depth = 0;
  for (; i < end; ++i) {
    const SqlToken &t = Tok(i);
    if (t.IsPunct('('))
      ++depth;
    else if (t.IsPunct(')') && --depth < 0)
      return i;
    else if (depth == 0 && (t.IsPunct(',') || (stopWord && t.IsWord(stopWord))))
      return i;
  }
  return end;
}

Translator::Ranges Translator::IntegerValues() {
  if (!schema_)
    return {};
  const bool insert = Tok(0).IsWord("insert") && IsWordAt(1, "into");
  const bool update = Tok(0).IsWord("update") && IsWordAt(2, "set");
  if (!insert && !update)
    return {};
  const QString table = NameAt(insert ? 2 : 1);
  const JetTableColumns *columns = table.isEmpty() ? nullptr : schema_->Columns(table);
  if (!columns)
    return {};
  return insert ? InsertIntegerValues(*columns) : UpdateIntegerValues(*columns);
}

// Insert Into t [(c, ...)] Values (v, ...)[, (v, ...)]
Translator::Ranges Translator::InsertIntegerValues(const JetTableColumns &columns) {
  std::vector<bool> integer;
  size_t i = 3;
  if (IsPunctAt(i, '(')) {
    for (++i;; i += 2) {
      const QString name = NameAt(i);
      if (name.isEmpty())
        return {};
      integer.push_back(columns.IsInteger(name));
      if (IsPunctAt(i + 1, ')'))
        break;
      if (!IsPunctAt(i + 1, ','))
        return {};
    }
    i += 2;
  } else {
    integer = columns.integer;
  }
  if (!IsWordAt(i, "values"))
    return {};
  Ranges ranges;
  for (++i; IsPunctAt(i, '('); ) {
    size_t position = 0;
    for (size_t value = i + 1;; ++position) {
      const size_t end = ExpressionEnd(value, Count(), nullptr);
      if (end == value || end >= Count() || position >= integer.size())
        return {};
      if (integer[position])
        ranges.emplace_back(value, end);
      if (Tok(end).IsPunct(')')) {
        i = end + 1;
        break;
      }
      value = end + 1;
    }
    if (position + 1 != integer.size())
      return {};
    if (i == Count())
      return ranges;
    if (!IsPunctAt(i, ','))
      return {};
    ++i;
  }
  return {};
}

// Update t Set c = v, ... [Where ...]
Translator::Ranges Translator::UpdateIntegerValues(const JetTableColumns &columns) {
  Ranges ranges;
  for (size_t i = 3;;) {
    const QString name = NameAt(i);
    if (name.isEmpty() || !IsPunctAt(i + 1, '='))
      return {};
    const size_t end = ExpressionEnd(i + 2, Count(), "where");
    if (end == i + 2)
      return {};
    if (columns.IsInteger(name))
      ranges.emplace_back(i + 2, end);
    if (end == Count() || Tok(end).IsWord("where"))
      return ranges;
    if (!Tok(end).IsPunct(','))
      return {};
    i = end + 1;
  }
}

bool Translator::Expression(size_t begin, size_t end, QString &out) {
  const size_t outerLimits = limits_.size();
  const int outerDepth = depth_;
  for (size_t i = begin; i < end;) {
    if (!Token(i, end, out))
      return false;
  }
  // A Top of the outermost select ends at the end of the text.
  while (limits_.size() > outerLimits && limits_.back().first == depth_) {
    out += QStringLiteral(" LIMIT ") + limits_.back().second;
    limits_.pop_back();
  }
  depth_ = outerDepth;
  return true;
}

// "Select [All|Distinct|DistinctRow] Top n" keeps the select and remembers
// the limit for the end of this select (its closing parenthesis or the end).
bool Translator::Select(size_t &i, size_t end, QString &out) {
  Emit(out, lead_[i], Tok(i).text);
  ++i;
  if (i < end && (Tok(i).IsWord("all") || Tok(i).IsWord("distinct") ||
                  Tok(i).IsWord("distinctrow"))) {
    Emit(out, lead_[i],
         Tok(i).IsWord("all") ? QStringLiteral("ALL") : QStringLiteral("DISTINCT"));
    ++i;
  }
  if (i < end && Tok(i).IsWord("top")) {
    if (i + 1 >= end || Tok(i + 1).kind != TokenKind::Number ||
        Tok(i + 1).text.contains(QLatin1Char('.')))
      return Fail(QStringLiteral("The SELECT statement includes a reserved "
                                 "word or an argument name that is misspelled "
                                 "or missing, or the punctuation is incorrect."));
    if (IsWordAt(i + 2, "percent"))
      return Fail(QStringLiteral("Select Top … Percent is not supported."));
    limits_.emplace_back(depth_, Tok(i + 1).text.toString());
    i += 2;
  }
  return true;
}

bool Translator::Token(size_t &i, size_t end, QString &out) {
  const SqlToken &t = Tok(i);
  const QStringView lead = lead_[i];
  switch (t.kind) {
  case TokenKind::Space:
    ++i;
    return true;
  case TokenKind::Number:
    Emit(out, lead, t.text);
    ++i;
    return true;
  case TokenKind::String:
    EmitQuoted(out, lead, t.value, QLatin1Char('\''));
    ++i;
    return true;
  case TokenKind::Name:
    EmitQuoted(out, lead, t.value, QLatin1Char('"'));
    ++i;
    return true;
  case TokenKind::Date: {
    JetDateTime value;
    if (!ParseJetDateText(t.value, value))
      return Fail(QStringLiteral("Syntax error in date in query expression '%1'.")
                      .arg(t.text));
    Emit(out, lead, SqliteString(CanonicalDateText(value)));
    ++i;
    return true;
  }
  case TokenKind::Word:
    break;
  case TokenKind::Punct:
    if (t.text == QLatin1String("@@")) {
      if (!IsWordAt(i + 1, "identity") || !lead_[i + 1].isEmpty())
        return Fail(kParameters);
      Emit(out, lead, QStringLiteral("last_insert_rowid()"));
      i += 2;
      return true;
    }
    if (t.IsPunct('?') || t.IsPunct(':') || t.IsPunct('@') || t.IsPunct('$'))
      return Fail(kParameters);
    if (t.IsPunct('&')) {
      Emit(out, lead, QStringLiteral("||"));
      ++i;
      return true;
    }
    if (t.IsPunct('(')) {
      ++depth_;
    } else if (t.IsPunct(')')) {
      while (!limits_.empty() && limits_.back().first == depth_) {
        out += QStringLiteral(" LIMIT ") + limits_.back().second;
        limits_.pop_back();
      }
      --depth_;
    }
    Emit(out, lead, t.text);
    ++i;
    return true;
  }

  // Words.
  if (t.IsWord("select"))
    return Select(i, end, out);
  if (t.IsWord("true") || t.IsWord("false")) {
    Emit(out, lead, t.IsWord("true") ? QStringLiteral("1") : QStringLiteral("0"));
    ++i;
    return true;
  }
  if (t.IsWord("distinctrow")) {
    Emit(out, lead, QStringLiteral("DISTINCT"));
    ++i;
    return true;
  }
  if (t.IsWord("mod")) {
    Emit(out, lead, QStringLiteral("%"));
    ++i;
    return true;
  }
  // date(), now() and time() without arguments: the local clock.
  if (IsPunctAt(i + 1, '(') && IsPunctAt(i + 2, ')') && i + 2 < end) {
    QString clock;
    if (t.IsWord("date"))
      clock = QStringLiteral("(date('now','localtime')||' 00:00:00')");
    else if (t.IsWord("now"))
      clock = QStringLiteral("datetime('now','localtime')");
    else if (t.IsWord("time"))
      clock = QStringLiteral("('1899-12-30 '||time('now','localtime'))");
    if (!clock.isEmpty()) {
      Emit(out, lead, clock);
      i += 3;
      return true;
    }
  }
  // Jet functions that SQLite spells otherwise (see jet_functions.h).
  if (IsPunctAt(i + 1, '(')) {
    static const char *const kRenamed[][2] = {
        {"left", "jet_left"}, {"right", "jet_right"}, {"mid", "substr"},
        {"len", "length"},    {"ucase", "upper"},     {"lcase", "lower"}};
    for (const auto &rename : kRenamed)
      if (t.IsWord(rename[0])) {
        Emit(out, lead, QString::fromLatin1(rename[1]));
        ++i;
        return true;
      }
  }
  Emit(out, lead, t.text);
  ++i;
  return true;
}

bool Translator::CreateTable(QString &out) {
  if (IsWordAt(1, "index") ||
      (IsWordAt(1, "unique") && IsWordAt(2, "index")) || IsWordAt(1, "view"))
    return Expression(0, Count(), out);
  if (!IsWordAt(1, "table"))
    return Fail(kCreateSyntax);
  if (Count() < 4 || (Tok(2).kind != TokenKind::Word &&
                        Tok(2).kind != TokenKind::Name))
    return Fail(kCreateSyntax);
  const size_t open = 3;
  if (!IsPunctAt(open, '('))
    return Fail(kCreateSyntax);
  const size_t close = MatchParen(open, Count());
  if (close != Count())
    return Fail(kCreateSyntax);

  out = QStringLiteral("CREATE TABLE ");
  out += Tok(2).kind == TokenKind::Name ? SqliteName(Tok(2).value) : Tok(2).text.toString();
  out += QStringLiteral(" (");
  size_t itemBegin = open + 1;
  int depth = 0;
  bool firstItem = true;
  for (size_t i = open + 1; i < close; ++i) {
    const bool last = i == close - 1;
    if (Tok(i).IsPunct('('))
      ++depth;
    else if (Tok(i).IsPunct(')'))
      --depth;
    if (!last && !(depth == 0 && Tok(i).IsPunct(',')))
      continue;
    const size_t itemEnd = i;
    if (itemEnd <= itemBegin)
      return Fail(kCreateSyntax);
    QString item;
    const SqlToken &head = Tok(itemBegin);
    const bool constraint = head.IsWord("constraint") || head.IsWord("primary") ||
                            head.IsWord("unique") || head.IsWord("foreign") ||
                            head.IsWord("check");
    if (constraint ? !Expression(itemBegin, itemEnd, item)
                   : !ColumnDefinition(itemBegin, itemEnd, true, item, nullptr))
      return false;
    if (!firstItem)
      out += QStringLiteral(", ");
    out += item;
    firstItem = false;
    itemBegin = i + 1;
  }
  if (firstItem)
    return Fail(kCreateSyntax);
  out += QLatin1Char(')');
  return true;
}

// name type [constraints]; with named false the name is not part of the
// tokens (Alter Column).
bool Translator::ColumnDefinition(size_t begin, size_t end, bool named,
                                  QString &out, JetColumnType *typeOut) {
  size_t i = begin;
  if (named) {
    const SqlToken &name = Tok(i);
    if (name.kind == TokenKind::Name)
      out = SqliteName(name.value);
    else if (name.kind == TokenKind::Word)
      out = SqliteName(name.text);
    else
      return Fail(kFieldSyntax);
    ++i;
  }
  JetColumnType type;
  if (!ParseJetColumnType(t_, i, end, type, &error_))
    return false;
  QString constraints;
  bool collate = false;
  while (i < end) {
    const SqlToken &t = Tok(i);
    if (t.IsWord("with") && (IsWordAt(i + 1, "compression") ||
                             IsWordAt(i + 1, "comp"))) {
      i += 2;
      continue;
    }
    if (type.counter && t.IsWord("primary") && IsWordAt(i + 1, "key")) {
      i += 2;
      continue;
    }
    if (t.IsWord("default")) {
      Emit(constraints, lead_[i], QStringLiteral("DEFAULT"));
      ++i;
      if (!DefaultValue(i, end, constraints))
        return false;
      continue;
    }
    if (t.IsWord("collate"))
      collate = true;
    if (!Token(i, end, constraints))
      return false;
  }
  if (!out.isEmpty())
    out += QLatin1Char(' ');
  out += type.declared;
  if (type.kind == ColumnKind::Text && !collate)
    out += QStringLiteral(" COLLATE NOCASE");
  if (!constraints.isEmpty())
    out += QLatin1Char(' ') + constraints.trimmed();
  if (typeOut)
    *typeOut = type;
  return true;
}

// The value after DEFAULT: a literal stays as it is, anything else goes in
// parentheses, as SQLite wants an expression there.
bool Translator::DefaultValue(size_t &i, size_t end, QString &out) {
  if (i >= end)
    return Fail(kFieldSyntax);
  size_t stop = i + 1;
  const SqlToken &t = Tok(i);
  if ((t.IsPunct('-') || t.IsPunct('+')) && i + 1 < end &&
      Tok(i + 1).kind == TokenKind::Number)
    stop = i + 2;
  else if (t.IsPunct('('))
    stop = MatchParen(i, end);
  else if (t.kind == TokenKind::Word && IsPunctAt(i + 1, '('))
    stop = MatchParen(i + 1, end);
  if (stop == std::string::npos || stop > end)
    return Fail(kFieldSyntax);
  QString value;
  if (!Expression(i, stop, value))
    return false;
  const bool literal = stop == i + 1 || Tok(i).IsPunct('-') || Tok(i).IsPunct('+');
  if (literal && !value.startsWith(QLatin1Char('(')))
    Emit(out, QStringLiteral(" "), value);
  else
    Emit(out, QStringLiteral(" "), QLatin1Char('(') + value + QLatin1Char(')'));
  i = stop;
  return true;
}

bool Translator::AlterTable(JetTranslation &result) {
  if (!IsWordAt(1, "table") || Count() < 5)
    return Fail(kAlterSyntax);
  const SqlToken &tableToken = Tok(2);
  if (tableToken.kind != TokenKind::Word && tableToken.kind != TokenKind::Name)
    return Fail(kAlterSyntax);
  const QString table = (tableToken.kind == TokenKind::Name ? tableToken.value
                                                            : tableToken.text)
                            .toString();
  size_t i = 3;
  const bool add = Tok(i).IsWord("add");
  const bool drop = Tok(i).IsWord("drop");
  const bool alter = Tok(i).IsWord("alter");
  if (!add && !drop && !alter)
    return Fail(kAlterSyntax);
  ++i;
  if (IsWordAt(i, "constraint") || IsWordAt(i, "primary") ||
      IsWordAt(i, "unique") || IsWordAt(i, "foreign"))
    return Fail(QStringLiteral("Cannot add or drop a constraint of an existing table."));
  if (IsWordAt(i, "column"))
    ++i;
  if (i >= Count())
    return Fail(kAlterSyntax);
  const QString head = QStringLiteral("ALTER TABLE ") + SqliteName(table);

  if (drop) {
    const SqlToken &column = Tok(i);
    if (i + 1 != Count() ||
        (column.kind != TokenKind::Word && column.kind != TokenKind::Name))
      return Fail(kAlterSyntax);
    result.sql = head + QStringLiteral(" DROP COLUMN ") +
                 SqliteName(column.kind == TokenKind::Name ? column.value
                                                           : column.text);
    return true;
  }
  if (add) {
    QString definition;
    if (!ColumnDefinition(i, Count(), true, definition, nullptr))
      return false;
    result.sql = head + QStringLiteral(" ADD COLUMN ") + definition;
    return true;
  }
  const SqlToken &column = Tok(i);
  if (column.kind != TokenKind::Word && column.kind != TokenKind::Name)
    return Fail(kAlterSyntax);
  JetColumnType type;
  QString definition;
  if (!ColumnDefinition(i + 1, Count(), false, definition, &type))
    return false;
  if (type.counter || definition.contains(QLatin1String("PRIMARY"),
                                          Qt::CaseInsensitive))
    return Fail(QStringLiteral("Cannot alter a column into a PRIMARY KEY column"));
  result.kind = JetTranslation::AlterColumn;
  result.table = table;
  result.column = (column.kind == TokenKind::Name ? column.value : column.text).toString();
  result.definition = definition;
  result.targetKind = type.kind;
  return true;
}

bool Translator::DropStatement(QString &out) {
  // Jet's "Drop Index i On t": SQLite index names are database-wide.
  if (IsWordAt(1, "index") && Count() == 5 && IsWordAt(3, "on"))
    return Expression(0, 3, out);
  if (IsWordAt(1, "table") || IsWordAt(1, "view") || IsWordAt(1, "index"))
    return Expression(0, Count(), out);
  return Fail(kInvalidStatement);
}

} // namespace

bool TranslateJet(const QString &jet, JetTranslation &out, QString *error) {
  return Translator(nullptr).Run(jet, out, error);
}

bool TranslateJet(const QString &jet, JetTranslation &out, QString *error,
                  JetSchema *schema) {
  return Translator(schema).Run(jet, out, error);
}

bool TranslateJetSql(const QString &jet, QByteArray &sqliteUtf8,
                     QString *error) {
  JetTranslation translation;
  if (!TranslateJet(jet, translation, error))
    return false;
  if (translation.kind != JetTranslation::Plain) {
    if (error)
      *error = QStringLiteral("Alter Column rebuilds the table and needs an "
                              "open session.");
    return false;
  }
  sqliteUtf8 = translation.sql.toUtf8();
  return true;
}

bool JetTableColumns::IsInteger(const QString &name) const {
  for (qsizetype i = 0; i < names.size(); ++i)
    if (names[i].compare(name, Qt::CaseInsensitive) == 0)
      return integer[size_t(i)];
  return false;
}
