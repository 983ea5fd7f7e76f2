// Finding a statement's header and the end of its rows; see
// statement_rows.h.
#include "exchange/statement_rows.h"

#include "exchange/statement_values.h"

#include <QRegularExpression>

#include <map>
#include <vector>

QStringList SplitCsvLine(QStringView line, char delimiter) {
  QStringList fields;
  QString field;
  bool quoted = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (c == QLatin1Char('"')) {
      if (quoted && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
        field.append(c);
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (!quoted && c == QLatin1Char(delimiter)) {
      fields.append(field.trimmed());
      field.clear();
    } else if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
      field.append(c);
    }
  }
  fields.append(field.trimmed());
  return fields;
}

QStringList WithoutTrailingEmpty(QStringList fields) {
  while (!fields.isEmpty() && fields.last().trimmed().isEmpty())
    fields.removeLast();
  return fields;
}

bool LooksLikeValue(const QString &text) {
  static const QRegularExpression dateOrTime(QStringLiteral(
      "^\\s*(?:\\d{4}\\s*[-/.年]\\s*\\d{1,2}\\s*[-/.月]\\s*\\d{1,2}日?"
      "|\\d{8}|\\d{1,2}/\\d{1,2}(?:/\\d{2,4})?|\\d{1,2}-\\d{1,2}"
      "|\\d{1,2}\\.\\d{1,2}\\.\\d{4})?"
      "(?:[ T]*\\d{1,2}:\\d{2}(?::\\d{2})?)?\\s*$"));
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty())
    return false;
  if (dateOrTime.match(trimmed).hasMatch())
    return true;
  double value = 0;
  return ParseAmount(trimmed, false, &value) ||
         ParseAmount(trimmed, true, &value);
}

namespace {

int Filled(const QStringList &fields) {
  int filled = 0;
  for (const QString &field : fields)
    filled += field.trimmed().isEmpty() ? 0 : 1;
  return filled;
}

bool IsNameLine(const QStringList &fields) {
  if (Filled(fields) < 2 || fields.value(0).trimmed().startsWith(QLatin1Char('#')))
    return false;
  for (const QString &field : fields)
    if (LooksLikeValue(field))
      return false;
  return true;
}

bool IsDataLine(const QStringList &fields, int names) {
  if (Filled(fields) < 2 || WithoutTrailingEmpty(fields).size() < (names + 1) / 2)
    return false;
  for (const QString &field : fields)
    if (LooksLikeValue(field))
      return true;
  return false;
}

} // namespace

int FindHeaderLine(const QList<QStringList> &lines) {
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (!IsNameLine(lines.at(i)))
      continue;
    qsizetype next = i + 1;
    while (next < lines.size() && Filled(lines.at(next)) == 0)
      ++next;
    if (next < lines.size() && IsDataLine(lines.at(next), Filled(lines.at(i))))
      return int(i);
  }
  return -1;
}

bool IsFooterLine(const QStringList &fields, qsizetype headerColumns,
                  const QStringList &rowsEnd) {
  QString first;
  for (const QString &field : fields)
    if (!(first = field.trimmed()).isEmpty())
      break;
  for (const QString &end : rowsEnd)
    if (!end.isEmpty() && first.startsWith(end))
      return true;
  static const QRegularExpression footer(QStringLiteral(
      "^(?:合计|总计|小计|本页合计|本期合计|交易合计|汇总|共\\s*\\d+\\s*笔|-{3,}|={3,}|#"
      "|导出时间|打印时间|Total\\b)"),
      QRegularExpression::CaseInsensitiveOption);
  if (footer.match(first).hasMatch())
    return true;
  return headerColumns >= 4 && Filled(fields) == 1;
}

namespace {

// The lines before the header, the first line whose field count is the
// most common one above one (or, with orMore, at least that): a bank's
// title and account lines. fieldCounts has the count of every line from
// the first.
int DetectSkipLines(const std::vector<int> &fieldCounts, bool orMore) {
  std::map<int, int> counts;
  for (const int fields : fieldCounts)
    ++counts[fields];
  int common = 0, most = 0;
  for (const auto &[fields, number] : counts)
    if (fields > 1 && number > most) {
      most = number;
      common = fields;
    }
  for (size_t i = 0; i < fieldCounts.size(); ++i)
    if (fieldCounts[i] == common ||
        (orMore && common > 0 && fieldCounts[i] > common))
      return int(i);
  return 0;
}

} // namespace

int SkipLinesOf(const QList<QStringList> &lines, bool orMore) {
  const int header = FindHeaderLine(lines);
  if (header >= 0)
    return header;
  std::vector<int> fieldCounts;
  for (const QStringList &line : lines)
    fieldCounts.push_back(
        int(orMore ? WithoutTrailingEmpty(line).size() : line.size()));
  return DetectSkipLines(fieldCounts, orMore);
}
