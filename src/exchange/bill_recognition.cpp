// Recognising known bills; see bill_recognition.h.
#include "exchange/bill_recognition.h"

#include "exchange/text_decoding.h"
#include "exchange/xlsx_reader.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

namespace {

// A bill writes its head lines as "label：value" or "label:[value]".
QString HeadValue(const QString &line, const QRegularExpression &label) {
  const QRegularExpressionMatch match = label.match(line);
  return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

BillHead ReadHead(const QList<QStringList> &lines) {
  static const QRegularExpression holder(QStringLiteral(
      "^\\s*(?:姓名|微信昵称|支付宝账户|账号|户名|账户名称|持卡人)\\s*[：:]\\s*"
      "\\[?([^\\]]*)\\]?"));
  static const QRegularExpression start(QStringLiteral(
      "起始(?:时间|日期)\\s*[：:]\\s*\\[?([0-9][-0-9/: ]*[0-9])"));
  static const QRegularExpression end(QStringLiteral(
      "终止(?:时间|日期)\\s*[：:]\\s*\\[?([0-9][-0-9/: ]*[0-9])"));
  BillHead head;
  for (const QStringList &fields : lines) {
    const QString line = fields.join(QLatin1Char(','));
    if (head.holder.isEmpty())
      head.holder = HeadValue(line, holder);
    if (head.periodStart.isEmpty())
      head.periodStart = HeadValue(line, start);
    if (head.periodEnd.isEmpty())
      head.periodEnd = HeadValue(line, end);
  }
  return head;
}

bool HasColumns(const QSet<QString> &fields, const BillLayout &layout) {
  for (const BillColumn &column : layout.columns)
    if (!fields.contains(column.header))
      return false;
  return true;
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

// The fields of a CSV line as a bill's header writes them: no quotes
// inside, padded with blanks and tabs.
QStringList HeaderFields(const QString &line) {
  QStringList fields = line.split(QLatin1Char(','));
  for (QString &field : fields) {
    field = field.trimmed();
    if (field.size() >= 2 && field.startsWith(QLatin1Char('"')) &&
        field.endsWith(QLatin1Char('"')))
      field = field.mid(1, field.size() - 2).trimmed();
  }
  return fields;
}

// The rows a bill's head and header may take.
constexpr int kHeadRows = 60;

// Recognises the XLSX bill at path from its first rows.
bool RecogniseXlsxBill(const QString &path, RecognisedBill *bill) {
  QList<QStringList> lines; // index: row number - 1
  QString error;
  ReadXlsxRows(
      path,
      [&](int row, const QStringList &cells) {
        if (row > kHeadRows)
          return false;
        while (lines.size() < row - 1)
          lines.append(QStringList());
        lines.append(cells);
        return true;
      },
      &error);
  if (!RecogniseBillLines(lines, BillSource::Xlsx, bill))
    return false;
  bill->format.kind = StatementKind::Xlsx;
  return true;
}

} // namespace

QString BillTitle(const BillLayout &layout, const BillHead &head) {
  QStringList parts;
  if (!head.holder.isEmpty())
    parts.append(head.holder);
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
      fields.insert(field.trimmed());
    if (fields.size() < 3)
      continue;
    for (const BillLayout &layout : BillLayouts()) {
      if (layout.source != source || !HasColumns(fields, layout) ||
          !MarkerAbove(lines, i, layout.marker))
        continue;
      bill->layout = &layout;
      bill->format.skipLines = int(i);
      bill->format.hasHeader = true;
      bill->format.rowsEnd = layout.rowsEnd;
      bill->head = ReadHead(lines.mid(0, i));
      return true;
    }
  }
  return false;
}

bool RecogniseBill(const QString &path, RecognisedBill *bill) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  const QByteArray head = file.read(kBillHeadBytes);
  if (LooksLikeZip(head))
    return RecogniseXlsxBill(path, bill);
  const QString encoding = DetectEncoding(head);
  QStringDecoder decoder(encoding.toLatin1().constData());
  const QString text =
      decoder.decode(head.mid(ByteOrderMarkLength(head, encoding)));
  if (decoder.hasError() || text.contains(QChar(0)))
    return false;
  QStringList texts = text.split(QLatin1Char('\n'));
  if (head.size() == kBillHeadBytes && texts.size() > 1)
    texts.removeLast(); // perhaps cut off by the end of what was read
  QList<QStringList> lines;
  for (const QString &line : texts.mid(0, 200))
    lines.append(HeaderFields(line));
  if (!RecogniseBillLines(lines, BillSource::Csv, bill))
    return false;
  bill->format.kind = StatementKind::Csv;
  bill->format.encoding = encoding;
  bill->format.delimiter = ',';
  return true;
}
