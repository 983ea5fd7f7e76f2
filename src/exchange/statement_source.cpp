// Reading CSV, OFX, XLSX and XLS statements; see statement_source.h.
#include "exchange/statement_source.h"

#include "exchange/csv_records.h"
#include "exchange/ofx_reader.h"
#include "exchange/statement_rows.h"
#include "exchange/text_decoding.h"
#include "exchange/xls_reader.h"
#include "exchange/xlsx_reader.h"

#include <QFile>
#include <QStringDecoder>

#include <map>
#include <vector>

namespace {

constexpr qint64 kChunk = 64 * 1024;
// No line of a statement is this long; a longer one is no statement.
constexpr qsizetype kMaxLineBytes = 256 * 1024;
// The lines at the start of a statement that its layout is detected from.
constexpr int kSampleLines = 40;

bool LooksLikeOfx(const QByteArray &head) {
  const QByteArray upper = head.left(4096).toUpper();
  return upper.contains("OFXHEADER") || upper.contains("<OFX>");
}

// Binary data: many control characters in a text that is not UTF-16. A
// text with a few NUL bytes is refused when it is decoded, wherever they
// are.
bool LooksBinary(const QByteArray &head, const QString &encoding) {
  if (encoding.startsWith(QLatin1String("UTF-16")))
    return false;
  int control = 0;
  for (const char c : head) {
    const uchar u = uchar(c);
    if (u < 0x20 && u != '\n' && u != '\r' && u != '\t')
      ++control;
  }
  return control > head.size() / 20;
}

// Without a header line the columns are named by number: "列1", "列2"...
// up to count.
void NameColumns(QStringList *headers, qsizetype count) {
  for (qsizetype i = headers->size(); i < count; ++i)
    headers->append(QStringLiteral("列%1").arg(i + 1));
}

QString EncodingError(const QString &encoding, int line, const QString &path) {
  return QStringLiteral("对账单第%1行不是有效的 %2 编码，请选择文件的编码：%3")
      .arg(line)
      .arg(encoding, path);
}

QString NulError(int line, const QString &path) {
  return QStringLiteral("对账单第%1行有空字符（NUL），不是文本文件：%2")
      .arg(line)
      .arg(path);
}

// The number of the line at which decoded text (which starts on line
// firstLine) holds character c, or 0 when it holds none.
int LineOf(const QString &text, QChar c, int firstLine) {
  const qsizetype at = text.indexOf(c);
  if (at < 0)
    return 0;
  return firstLine + int(QStringView(text).left(at).count(QLatin1Char('\n')));
}

// Decoded text of bytes, or false with error when they are not valid in
// the decoder's encoding or hold a NUL; firstLine is the line they start
// on.
bool DecodeChunk(QStringDecoder &decoder, const QByteArray &bytes,
                 const QString &encoding, int firstLine, const QString &path,
                 QString *text, QString *error) {
  *text = decoder.decode(bytes);
  if (decoder.hasError()) {
    const int line = LineOf(*text, QChar::ReplacementCharacter, firstLine);
    *error = EncodingError(encoding, line ? line : firstLine, path);
    return false;
  }
  if (const int line = LineOf(*text, QChar(0), firstLine)) {
    *error = NulError(line, path);
    return false;
  }
  return true;
}

// Turns the rows of any statement into header, data lines and footer
// lines: rows up to skipLines go, the first row after them is the header,
// and the first row that ends the rows starts the footer.
class RowShaper {
public:
  RowShaper(const StatementFormat &format, QStringList *headers,
            const std::function<bool(const SourceLine &)> &onLine)
      : format_(format), headers_(*headers), onLine_(onLine),
        headerDone_(!format.hasHeader) {
    headers_.clear();
  }

  // Whether the header has been read; the number of its columns.
  bool HeaderDone() const { return headerDone_; }
  qsizetype Columns() const { return headers_.size(); }

  // Takes one line; false once the reader is to stop.
  bool Take(SourceLine line) {
    if (!line.problem.isEmpty())
      return footer_ || onLine_(line);
    if (!headerDone_) {
      headers_.clear();
      for (const QString &name : WithoutTrailingEmpty(line.fields))
        headers_.append(name.trimmed());
      headerDone_ = true;
      return true;
    }
    if (!format_.hasHeader)
      NameColumns(&headers_, WithoutTrailingEmpty(line.fields).size());
    if (!footer_ && format_.hasHeader &&
        IsFooterLine(line.fields, headers_.size(), format_.rowsEnd))
      footer_ = true;
    line.footer = footer_;
    // Fields a line leaves off at its end are empty.
    while (line.fields.size() < headers_.size())
      line.fields.append(QString());
    return onLine_(line);
  }

private:
  const StatementFormat &format_;
  QStringList &headers_;
  const std::function<bool(const SourceLine &)> &onLine_;
  bool headerDone_;
  bool footer_ = false;
};

bool ReadCsv(const QString &path, const StatementFormat &format,
             QStringList *headers,
             const std::function<bool(const SourceLine &)> &onLine,
             QString *error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *error = CannotReadMessage(path);
    return false;
  }
  QStringDecoder decoder(format.encoding.toLatin1().constData());
  if (!decoder.isValid()) {
    *error = QStringLiteral("不支持的编码：%1").arg(format.encoding);
    return false;
  }
  RowShaper shaper(format, headers, onLine);
  CsvRecords csv(format.delimiter);
  bool stopped = false;
  auto deliver = [&]() {
    for (SourceLine &line : csv.Take()) {
      if (stopped)
        return;
      stopped = !shaper.Take(std::move(line));
      if (shaper.HeaderDone() && format.hasHeader)
        csv.SetColumns(shaper.Columns());
    }
  };
  auto tooMany = [&]() {
    *error = TooManyFieldsMessage(csv.TooManyFieldsAt(), path);
    return false;
  };
  int lineNumber = 0; // lines ended so far
  QByteArray partial; // the start of the line not yet ended
  // Feeds the whole lines of text; each becomes part of a record that knows
  // the line it starts on.
  auto feed = [&](const QByteArray &text) {
    qsizetype start = 0;
    while (start < text.size() && !stopped) {
      const qsizetype newline = text.indexOf('\n', start);
      const qsizetype end = newline < 0 ? text.size() : newline + 1;
      partial.append(text.constData() + start, end - start);
      start = end;
      if (partial.size() > kMaxLineBytes) {
        // A line of more fields than a statement has says so.
        if (partial.count(format.delimiter) >= kMaxCsvFields) {
          *error = TooManyFieldsMessage(lineNumber + 1, path);
          return false;
        }
        *error = QStringLiteral("对账单第%1行超过 %2 KB，不是可识别的对账单：%3")
                     .arg(lineNumber + 1)
                     .arg(kMaxLineBytes / 1024)
                     .arg(path);
        return false;
      }
      if (newline < 0)
        break;
      ++lineNumber;
      if (lineNumber > format.skipLines && !csv.Line(lineNumber, partial))
        return tooMany();
      partial.clear();
      deliver();
    }
    return true;
  };

  bool first = true;
  QString text;
  while (!stopped) {
    QByteArray chunk = file.read(kChunk);
    if (chunk.isEmpty())
      break;
    if (first) {
      chunk.remove(0, ByteOrderMarkLength(chunk, format.encoding));
      first = false;
    }
    if (!DecodeChunk(decoder, chunk, format.encoding, lineNumber + 1, path,
                     &text, error) ||
        !feed(text.toUtf8()))
      return false;
  }
  if (stopped)
    return true;
  if (!DecodeChunk(decoder, QByteArray(), format.encoding, lineNumber + 1,
                   path, &text, error) ||
      !feed(text.toUtf8()))
    return false;
  if (!partial.isEmpty() && ++lineNumber > format.skipLines &&
      !csv.Line(lineNumber, partial))
    return tooMany();
  if (!csv.Finish())
    return tooMany();
  deliver();
  return true;
}

bool ReadOfx(const QString &path, QStringList *headers,
             const std::function<bool(const SourceLine &)> &onLine,
             QString *error) {
  *headers = OfxColumns();
  return ReadOfxTransactions(path, onLine, error);
}

} // namespace

bool ReadWorkbookRows(
    const QString &path, StatementKind kind,
    const std::function<bool(int rowNumber, const QStringList &cells)> &onRow,
    QString *error) {
  if (kind == StatementKind::Xls)
    return ReadXlsRows(path, onRow, error);
  return ReadXlsxRows(path, onRow, error);
}

namespace {

// The rows of the first sheet after skipLines, as a CSV's lines.
bool ReadWorkbook(const QString &path, const StatementFormat &format,
                  QStringList *headers,
                  const std::function<bool(const SourceLine &)> &onLine,
                  QString *error) {
  RowShaper shaper(format, headers, onLine);
  return ReadWorkbookRows(
      path, format.kind,
      [&](int row, const QStringList &cells) {
        if (row <= format.skipLines)
          return true;
        QStringList fields = WithoutTrailingEmpty(cells);
        if (fields.isEmpty())
          return true;
        return shaper.Take({row, fields, {}, false});
      },
      error);
}

} // namespace

QString NotAStatementMessage() {
  return QStringLiteral("文件不是可识别的对账单（CSV、XLSX、XLS 或 OFX）");
}

qsizetype ColumnIndex(const QStringList &headers, const QString &name) {
  const QString wanted = name.trimmed();
  if (wanted.isEmpty())
    return -1;
  for (qsizetype i = 0; i < headers.size(); ++i)
    if (headers.at(i).trimmed() == wanted)
      return i;
  return -1;
}

QList<QStringList> HeadLines(const QString &head, char delimiter, bool cut) {
  QStringList texts = head.split(QLatin1Char('\n'));
  if (cut && texts.size() > 1)
    texts.removeLast(); // perhaps cut off by the end of what was read
  QList<QStringList> lines;
  for (const QString &text : texts.mid(0, 200))
    lines.append(SplitCsvLine(text, delimiter));
  return lines;
}

QString CannotReadMessage(const QString &path) {
  return QStringLiteral("无法读取文件：%1").arg(path);
}

QString TooManyFieldsMessage(int line, const QString &path) {
  return QStringLiteral("对账单第%1行的字段超过 %2 个，不是可识别的对账单：%3")
      .arg(line)
      .arg(kMaxCsvFields)
      .arg(path);
}

QStringList OfxColumns() {
  return {QStringLiteral("日期"), QStringLiteral("交易金额"),
          QStringLiteral("名称"), QStringLiteral("备注"),
          QStringLiteral("交易号")};
}

namespace {

// Fields of line split at delimiter outside quotes.
int FieldCount(const QString &line, char delimiter) {
  int fields = 1;
  bool quoted = false;
  for (const QChar c : line) {
    if (c == QLatin1Char('"'))
      quoted = !quoted;
    else if (!quoted && c == QLatin1Char(delimiter))
      ++fields;
  }
  return fields;
}

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

// The lines above the header among lines (each split into its fields):
// the line that names the columns, else the first of the most common
// width (title lines of a bank have fewer fields than the lines below).
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

// The lines above the header of the first sheet, from its first 40 rows.
bool DetectWorkbookSkipLines(const QString &path, StatementFormat *format,
                             QString *error) {
  QList<QStringList> lines;
  const bool read =
      WorkbookHeadRows(path, format->kind, kSampleLines, &lines, error);
  format->skipLines = SkipLinesOf(lines, true);
  return read;
}

} // namespace

char DetectDelimiter(const QStringList &sampleLines) {
  char best = ',';
  int bestScore = 0;
  for (const char delimiter : {',', ';', '\t'}) {
    // Fields per line outside quotes; the score is how many lines share
    // the most common count above one.
    std::map<int, int> counts;
    for (const QString &line : sampleLines) {
      const int fields = FieldCount(line, delimiter);
      if (fields > 1)
        ++counts[fields];
    }
    int score = 0;
    for (const auto &[fields, lines] : counts)
      score = std::max(score, lines * 100 + fields);
    if (score > bestScore) {
      bestScore = score;
      best = delimiter;
    }
  }
  return best;
}

bool DetectStatementFormat(const QString &path, StatementFormat *format,
                           QString *error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *error = CannotReadMessage(path);
    return false;
  }
  const QByteArray head = file.read(kChunk);
  if (head.trimmed().isEmpty()) {
    *error = NotAStatementMessage();
    return false;
  }
  if (LooksLikeOfx(head)) {
    format->kind = StatementKind::Ofx;
    return true;
  }
  if (LooksLikeZip(head) || LooksLikeXls(head)) {
    format->kind = LooksLikeZip(head) ? StatementKind::Xlsx : StatementKind::Xls;
    return DetectWorkbookSkipLines(path, format, error);
  }
  format->kind = StatementKind::Csv;
  format->encoding = DetectEncoding(head);
  if (LooksBinary(head, format->encoding)) {
    *error = NotAStatementMessage();
    return false;
  }
  QStringDecoder decoder(format->encoding.toLatin1().constData());
  QString text;
  if (!DecodeChunk(decoder,
                   head.mid(ByteOrderMarkLength(head, format->encoding)),
                   format->encoding, 1, path, &text, error))
    return false;
  QStringList lines = text.split(QLatin1Char('\n'));
  if (lines.size() > 1)
    lines.removeLast(); // perhaps cut off by the sample's end
  lines = lines.mid(0, kSampleLines);
  format->delimiter = DetectDelimiter(lines);
  QList<QStringList> split;
  for (const QString &line : lines)
    split.append(SplitCsvLine(line, format->delimiter));
  format->skipLines = SkipLinesOf(split, false);
  return true;
}

bool WorkbookHeadRows(const QString &path, StatementKind kind, int rows,
                      QList<QStringList> *lines, QString *error) {
  lines->clear();
  return ReadWorkbookRows(
      path, kind,
      [&](int row, const QStringList &cells) {
        if (row > rows)
          return false;
        while (lines->size() < row - 1)
          lines->append(QStringList());
        lines->append(cells);
        return true;
      },
      error);
}

bool ReadStatement(const QString &path, const StatementFormat &format,
                   QStringList *headers,
                   const std::function<bool(const SourceLine &)> &onLine,
                   QString *error) {
  if (format.kind == StatementKind::Ofx)
    return ReadOfx(path, headers, onLine, error);
  if (format.kind == StatementKind::Xlsx || format.kind == StatementKind::Xls)
    return ReadWorkbook(path, format, headers, onLine, error);
  return ReadCsv(path, format, headers, onLine, error);
}
