// The SQL tokenizer shared by the Jet adapter and the table rebuild.
#include "db/jet_tokenizer.h"

namespace {

bool IsWordStart(QChar c) {
  return c.isLetter() || c == QLatin1Char('_') || c.unicode() >= 0x80;
}

bool IsWordChar(QChar c) {
  return IsWordStart(c) || c.isDigit() || c == QLatin1Char('$');
}

bool IsDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Two-character operators; everything else is one character.
bool IsTwoCharOperator(QChar a, QChar b) {
  static const char *const kOps[] = {"<=", ">=", "<>", "!=", "==",
                                     "||", "<<", ">>", "@@"};
  for (const char *op : kOps)
    if (a == QLatin1Char(op[0]) && b == QLatin1Char(op[1]))
      return true;
  return false;
}

class Tokenizer {
public:
  Tokenizer(const QString &sql, SqlDialect dialect)
      : sql_(sql), dialect_(dialect) {}

  bool Run(std::vector<SqlToken> &tokens, QString *error) {
    tokens.clear();
    while (pos_ < sql_.size()) {
      SqlToken token;
      token.offset = pos_;
      if (!Next(token)) {
        if (error)
          *error = error_;
        return false;
      }
      token.text = QStringView(sql_).mid(token.offset, pos_ - token.offset);
      tokens.push_back(std::move(token));
    }
    return true;
  }

private:
  QChar At(qsizetype p) const { return p < sql_.size() ? sql_[p] : QChar(); }

  bool Fail(qsizetype from) {
    error_ = QStringLiteral("unrecognized token: \"%1\"")
                 .arg(sql_.mid(from, 40));
    return false;
  }

  bool Next(SqlToken &t) {
    const QChar c = sql_[pos_];
    if (c.isSpace())
      return Spaces(t);
    if (dialect_ == SqlDialect::Sqlite && c == QLatin1Char('-') &&
        At(pos_ + 1) == QLatin1Char('-'))
      return LineComment(t);
    if (dialect_ == SqlDialect::Sqlite && c == QLatin1Char('/') &&
        At(pos_ + 1) == QLatin1Char('*'))
      return BlockComment(t);
    if (c == QLatin1Char('\''))
      return Quoted(t, QLatin1Char('\''), TokenKind::String);
    if (c == QLatin1Char('"'))
      return Quoted(t, QLatin1Char('"'), dialect_ == SqlDialect::Jet
                                             ? TokenKind::String
                                             : TokenKind::Name);
    if (c == QLatin1Char('`'))
      return Quoted(t, QLatin1Char('`'), TokenKind::Name);
    if (c == QLatin1Char('['))
      return Bracketed(t);
    if (c == QLatin1Char('#') && dialect_ == SqlDialect::Jet)
      return DateLiteral(t);
    if (IsDigit(c) || (c == QLatin1Char('.') && IsDigit(At(pos_ + 1))))
      return Number(t);
    if (IsWordStart(c))
      return Word(t);
    if (c.unicode() < 0x20 || c.unicode() == 0x7f)
      return Fail(pos_);
    t.kind = TokenKind::Punct;
    pos_ += IsTwoCharOperator(c, At(pos_ + 1)) ? 2 : 1;
    return true;
  }

  bool Spaces(SqlToken &t) {
    t.kind = TokenKind::Space;
    while (pos_ < sql_.size() && sql_[pos_].isSpace())
      ++pos_;
    return true;
  }

  bool LineComment(SqlToken &t) {
    t.kind = TokenKind::Space;
    while (pos_ < sql_.size() && sql_[pos_] != QLatin1Char('\n'))
      ++pos_;
    return true;
  }

  bool BlockComment(SqlToken &t) {
    t.kind = TokenKind::Space;
    const qsizetype end = sql_.indexOf(QLatin1String("*/"), pos_ + 2);
    pos_ = end < 0 ? sql_.size() : end + 2;
    return true;
  }

  // A quoted text in which the quote is written twice to stand for itself.
  bool Quoted(SqlToken &t, QChar quote, TokenKind kind) {
    const qsizetype start = pos_++;
    bool doubled = false;
    for (;;) {
      const qsizetype end = sql_.indexOf(quote, pos_);
      if (end < 0)
        return Fail(start);
      pos_ = end + 1;
      if (At(pos_) != quote)
        break;
      doubled = true;
      ++pos_;
    }
    t.kind = kind;
    t.value = QStringView(sql_).mid(start + 1, pos_ - start - 2);
    if (doubled) {
      t.storage = t.value.toString();
      t.storage.replace(QString(2, quote), QString(quote));
      t.value = t.storage;
    }
    return true;
  }

  bool Bracketed(SqlToken &t) {
    const qsizetype start = pos_;
    const qsizetype end = sql_.indexOf(QLatin1Char(']'), pos_ + 1);
    if (end < 0)
      return Fail(start);
    t.kind = TokenKind::Name;
    t.value = QStringView(sql_).mid(start + 1, end - start - 1);
    pos_ = end + 1;
    return true;
  }

  bool DateLiteral(SqlToken &t) {
    const qsizetype start = pos_;
    const qsizetype end = sql_.indexOf(QLatin1Char('#'), pos_ + 1);
    if (end < 0)
      return Fail(start);
    t.kind = TokenKind::Date;
    t.value = QStringView(sql_).mid(start + 1, end - start - 1);
    pos_ = end + 1;
    return true;
  }

  bool Number(SqlToken &t) {
    t.kind = TokenKind::Number;
    while (IsDigit(At(pos_)))
      ++pos_;
    if (At(pos_) == QLatin1Char('.')) {
      ++pos_;
      while (IsDigit(At(pos_)))
        ++pos_;
    }
    const QChar e = At(pos_);
    if (e == QLatin1Char('e') || e == QLatin1Char('E')) {
      qsizetype p = pos_ + 1;
      if (At(p) == QLatin1Char('+') || At(p) == QLatin1Char('-'))
        ++p;
      if (IsDigit(At(p))) {
        pos_ = p;
        while (IsDigit(At(pos_)))
          ++pos_;
      }
    }
    // "12abc" is no number followed by a name in either dialect.
    if (IsWordChar(At(pos_)) || At(pos_) == QLatin1Char('.'))
      return Fail(t.offset);
    return true;
  }

  bool Word(SqlToken &t) {
    t.kind = TokenKind::Word;
    while (pos_ < sql_.size() && IsWordChar(sql_[pos_]))
      ++pos_;
    return true;
  }

  const QString &sql_;
  SqlDialect dialect_;
  qsizetype pos_ = 0;
  QString error_;
};

} // namespace

bool SqlToken::IsWord(const char *word) const {
  return kind == TokenKind::Word &&
         text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool SqlToken::IsPunct(char c) const {
  return kind == TokenKind::Punct && text.size() == 1 &&
         text[0] == QLatin1Char(c);
}

bool TokenizeSql(const QString &sql, SqlDialect dialect,
                 std::vector<SqlToken> &tokens, QString *error) {
  return Tokenizer(sql, dialect).Run(tokens, error);
}

void AppendQuoted(QString &out, QStringView text, QChar quote) {
  out.reserve(out.size() + text.size() + 2);
  out.append(quote);
  for (qsizetype from = 0;;) {
    const qsizetype at = text.indexOf(quote, from);
    if (at < 0) {
      out.append(text.mid(from));
      break;
    }
    out.append(text.mid(from, at - from + 1));
    out.append(quote);
    from = at + 1;
  }
  out.append(quote);
}

QString SqliteString(QStringView text) {
  QString out;
  AppendQuoted(out, text, QLatin1Char('\''));
  return out;
}

QString SqliteName(QStringView name) {
  QString out;
  AppendQuoted(out, name, QLatin1Char('"'));
  return out;
}
