// Recognising known bills; see bill_recognition.h.
#include "exchange/bill_recognition.h"

#include "exchange/statement_file.h"
#include "exchange/statement_reader.h"
#include "exchange/statement_readers.h"

#include <QRegularExpression>
#include <QSet>

namespace {

// A bill writes its head lines as "label：value" or "label:[value]".
QString HeadValue(const QString &line, const QRegularExpression &label) {
  const QRegularExpressionMatch match = label.match(line);
  return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

// A date in a head line: "2024-03-01", "2024/3/1", "20240301", "2024年3月1日",
// with a time perhaps.
const char kHeadDate[] =
    "(\\d{4}[-/.年]\\d{1,2}[-/.月]\\d{1,2}日?(?:\\s+\\d{1,2}:\\d{2}(?::\\d{2})?)?"
    "|\\d{8})";

BillHead ReadHead(const QList<QStringList> &lines) {
  static const QRegularExpression holder(QStringLiteral(
      "^\\s*(?:姓名|微信昵称|支付宝账户|账号|账户|户名|账户名称|客户姓名|持卡人)\\s*[：:]\\s*"
      "\\[?([^\\]]*)\\]?"));
  static const QRegularExpression start(
      QStringLiteral("(?:起始|开始)(?:时间|日期)\\s*[：:]\\s*\\[?") +
      QString::fromUtf8(kHeadDate));
  static const QRegularExpression end(
      QStringLiteral("(?:终止|结束|截止)(?:时间|日期)\\s*[：:]\\s*\\[?") +
      QString::fromUtf8(kHeadDate));
  // "账单周期：2024/01/05-2024/02/04", "查询期间：20240101 至 20240131".
  static const QRegularExpression range(
      QStringLiteral("(?:周期|期间|时间段|日期范围|时间范围|起止日期|查询日期)\\s*[：:]?\\s*\\[?") +
      QString::fromUtf8(kHeadDate) + QStringLiteral("\\]?\\s*(?:-|~|至|到|—)+\\s*\\[?") +
      QString::fromUtf8(kHeadDate));
  static const QRegularExpression card(QStringLiteral(
      "(?:卡号|账号|帐号|账户|账户号码|卡号末四位)\\s*[：:]\\s*\\[?"
      "([0-9*＊xX -]*\\d{4})(?![0-9])"));
  // "招商银行信用卡对账单（2025年01月）": the month of a statement.
  static const QRegularExpression month(
      QStringLiteral("(\\d{4})\\s*年\\s*(\\d{1,2})\\s*月(?!\\s*\\d)"));
  BillHead head;
  QStringList texts;
  QDate monthEnd;
  for (const QStringList &fields : lines) {
    const QString line = fields.join(QLatin1Char(','));
    texts.append(line);
    const QRegularExpressionMatch inMonth = month.match(line);
    if (inMonth.hasMatch() && !monthEnd.isValid()) {
      const QDate first(inMonth.captured(1).toInt(), inMonth.captured(2).toInt(), 1);
      if (first.isValid())
        monthEnd = first.addMonths(1).addDays(-1);
    }
    if (head.holder.isEmpty())
      head.holder = HeadValue(line, holder);
    if (head.periodStart.isEmpty())
      head.periodStart = HeadValue(line, start);
    if (head.periodEnd.isEmpty())
      head.periodEnd = HeadValue(line, end);
    const QRegularExpressionMatch both = range.match(line);
    if (both.hasMatch() && head.periodStart.isEmpty() && head.periodEnd.isEmpty()) {
      head.periodStart = both.captured(1);
      head.periodEnd = both.captured(2);
    }
    if (head.card.isEmpty())
      head.card = HeadValue(line, card).right(4);
  }
  if (head.periodEnd.isEmpty() && head.periodStart.isEmpty() && monthEnd.isValid())
    head.periodEnd = monthEnd.toString(QStringLiteral("yyyy-MM-dd"));
  head.text = texts.join(QLatin1Char('\n'));
  return head;
}

bool MarkerAbove(const QList<QStringList> &lines, qsizetype header,
                 const QString &marker) {
  if (marker.isEmpty())
    return true;
  for (qsizetype i = 0; i < header; ++i)
    if (lines.at(i).join(QLatin1Char(',')).contains(marker))
      return true;
  return false;
}

// How many of layout's columns fields (a header's, trimmed) has; -1 when a
// required one is missing.
int Fit(const QSet<QString> &fields, const BillLayout &layout) {
  int found = 0;
  for (const BillColumn &column : layout.columns) {
    if (fields.contains(column.header))
      ++found;
    else if (!column.optional)
      return -1;
  }
  return found;
}

// The source a layout names for the statements of kind.
BillSource SourceOf(StatementKind kind) {
  switch (kind) {
  case StatementKind::Xlsx:
    return BillSource::Xlsx;
  case StatementKind::Xls:
    return BillSource::Xls;
  default:
    return BillSource::Csv;
  }
}

QDate HeadDate(const QString &text) {
  static const QRegularExpression date(QStringLiteral(
      "^(\\d{4})[-/.年]?(\\d{1,2})[-/.月]?(\\d{1,2})"));
  const QRegularExpressionMatch match = date.match(text.trimmed());
  if (!match.hasMatch())
    return QDate();
  return QDate(match.captured(1).toInt(), match.captured(2).toInt(),
               match.captured(3).toInt());
}

} // namespace

QDate PeriodEndOf(const BillHead &head) {
  const QDate end = HeadDate(head.periodEnd);
  return end.isValid() ? end : HeadDate(head.periodStart);
}

QString BillTitle(const BillLayout &layout, const BillHead &head) {
  QStringList parts;
  if (!head.holder.isEmpty())
    parts.append(head.holder);
  if (!head.card.isEmpty())
    parts.append(QStringLiteral("尾号%1").arg(head.card));
  if (!head.periodStart.isEmpty() || !head.periodEnd.isEmpty())
    parts.append(QStringLiteral("%1 至 %2").arg(head.periodStart, head.periodEnd));
  if (parts.isEmpty())
    return layout.name;
  return layout.name + QStringLiteral("：") + parts.join(QStringLiteral("，"));
}

bool RecogniseBillLines(const QList<QStringList> &lines, BillSource source,
                        RecognisedBill *bill) {
  for (qsizetype i = 0; i < lines.size(); ++i) {
    QSet<QString> fields;
    for (const QString &field : lines.at(i))
      if (!field.trimmed().isEmpty())
        fields.insert(field.trimmed());
    if (fields.size() < 3)
      continue;
    const BillLayout *best = nullptr;
    int bestFit = 0;
    for (const BillLayout &layout : BillLayouts()) {
      if (!layout.ReadsFrom(source) || !MarkerAbove(lines, i, layout.marker))
        continue;
      const int fit = Fit(fields, layout);
      if (fit > bestFit) {
        best = &layout;
        bestFit = fit;
      }
    }
    if (!best)
      continue;
    bill->layout = best;
    bill->format.skipLines = int(i);
    bill->format.hasHeader = true;
    bill->format.rowsEnd = best->rowsEnd;
    bill->head = ReadHead(lines.mid(0, i));
    return true;
  }
  return false;
}

BillHead ReadStatementHead(StatementFile &file, const StatementFormat &format) {
  if (format.skipLines <= 0)
    return BillHead();
  StatementFormat given = format;
  const QList<QStringList> lines =
      ReaderOf(format.kind).FirstLines(file, &given, FirstLook::Given);
  if (lines.isEmpty())
    return BillHead();
  return ReadHead(lines.mid(0, format.skipLines));
}

bool RecogniseBill(const QString &path, RecognisedBill *bill) {
  StatementFile file(path);
  return RecogniseBill(file, bill);
}

bool RecogniseBill(StatementFile &file, RecognisedBill *bill) {
  if (!file.ReadHead())
    return false;
  const StatementReader &reader = ReaderFor(file.Head());
  StatementFormat format;
  format.kind = reader.Kind();
  const QList<QStringList> lines =
      reader.FirstLines(file, &format, FirstLook::Guessed);
  if (!RecogniseBillLines(lines, SourceOf(format.kind), bill))
    return false;
  bill->format.kind = format.kind;
  bill->format.encoding = format.encoding;
  bill->format.delimiter = format.delimiter;
  return true;
}
