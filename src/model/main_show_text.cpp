// Composing the main show message from the tip and its embedded queries.
#include "model/main_show_text.h"

#include "db/db_visiter.h"
#include "formula/format_decimal.h"
#include "model/misc_settings.h"

#include <boost/regex/icu.hpp>

#include <QSet>
#include <QStringList>

#include <iterator>
#include <string>

namespace {

std::u16string ToU16(const QString &text) {
  return std::u16string(reinterpret_cast<const char16_t *>(text.utf16()),
                        size_t(text.size()));
}

// The word Users on its own, any letter case. The ICU traits count Chinese
// letters as word letters, so "用户Users" is one word and stays as it is.
const boost::u32regex &UsersWord() {
  static const boost::u32regex word = boost::make_u32regex(
      std::u16string(u"\\bUsers\\b"),
      boost::regex_constants::perl | boost::regex_constants::icase);
  return word;
}

// The "{...}" pieces of text in order: from each "{" through the next "}".
QStringList QueryPieces(const QString &text) {
  QStringList pieces;
  qsizetype from = 0;
  for (;;) {
    const qsizetype open = text.indexOf(QLatin1Char('{'), from);
    if (open < 0)
      break;
    const qsizetype close = text.indexOf(QLatin1Char('}'), open);
    if (close < 0)
      break;
    pieces.append(text.mid(open, close - open + 1));
    from = close + 1;
  }
  return pieces;
}

// The piece without its leading "{" and trailing "}" characters.
QString PieceQuery(const QString &piece) {
  qsizetype first = 0;
  qsizetype last = piece.size();
  while (first < last && piece[first] == QLatin1Char('{'))
    ++first;
  while (last > first && piece[last - 1] == QLatin1Char('}'))
    --last;
  return piece.mid(first, last - first);
}

// The text a piece shows: a number rounded to six decimals without trailing
// zeros (a sum of many amounts carries binary noise such as
// -96030.8500000009), nothing found (the sum of no records) as 0, anything
// else as the session reads it.
QString PieceResult(CDBVisiter &session) {
  QVariant value;
  if (!session.GetValue(value, 0, false) || value.isNull())
    return QStringLiteral("0");
  if (value.typeId() == QMetaType::Double)
    return FormatDecimal(value.toDouble(), 6);
  return session.GetString(0);
}

QString RunPieces(CDBVisiter &session, QString text) {
  QSet<QString> done;
  for (const QString &piece : QueryPieces(text)) {
    // One run serves every place the same query stands.
    if (done.contains(piece))
      continue;
    done.insert(piece);
    // The tip comes with the file: a piece that would change anything is
    // refused and stays as written, like one that fails.
    if (session.QueryReadOnly(PieceQuery(piece)) == 0)
      continue;
    text.replace(piece, PieceResult(session));
  }
  return text;
}

// The message of tip; without a session the queries stay as written.
QString Compose(CDBVisiter *session, const QString &tip,
                const QString &whereText) {
  QString text = tip;
  if (!whereText.isEmpty())
    text = RestrictUsersTable(text, whereText);
  if (text.isEmpty())
    return QStringLiteral("请设置主显示消息！！");
  return session ? RunPieces(*session, text) : text;
}

} // namespace

QString RestrictUsersTable(const QString &text, const QString &whereText) {
  const QString subquery =
      QStringLiteral("(Select * From Users Where ") + whereText +
      QLatin1Char(')');
  const std::u16string input = ToU16(text);
  const std::u16string format = ToU16(subquery);
  std::u16string output;
  try {
    boost::u32regex_replace(std::back_inserter(output), input.begin(),
                            input.end(), UsersWord(), format,
                            boost::regex_constants::format_literal);
  } catch (const std::exception &) {
    // Text that is not well-formed UTF-16 (a lone surrogate) can't be
    // searched; it is left as it is.
    return text;
  }
  return QString::fromUtf16(output.data(), qsizetype(output.size()));
}

QString ComposeMainShowText(CDBVisiter &session, const QString &tip,
                            const QString &whereText) {
  return Compose(&session, tip, whereText);
}

QString ComposeMainShowText(CDBVisiter &session, const MiscSettings &settings,
                            const QString &whereText) {
  return Compose(&session, settings.mainShowTip, whereText);
}

QString ComposeMainShowText(CDBVisiter *session, const MiscSettings &settings,
                            const QString &whereText) {
  return Compose(session, settings.mainShowTip, whereText);
}
