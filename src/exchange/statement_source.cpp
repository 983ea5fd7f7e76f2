// Reading CSV, OFX and XLSX statements; see statement_source.h.
#include "exchange/statement_source.h"

#include "exchange/ofx_reader.h"
#include "exchange/text_decoding.h"
#include "exchange/xlsx_reader.h"

#include <QFile>
#include <QStringDecoder>

#include <csv.h>

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

// ---- CSV through libcsv ----

// What the libcsv callbacks fill in for one run.
struct CsvState {
  QStringList fields;
  int currentLine = 0;
  int recordLine = 0;
  // A record with more fields than a statement has: the rest are dropped
  // and the reader refuses the file.
  bool tooManyFields = false;
  std::vector<SourceLine> ready;
};

void OnField(void *data, size_t length, void *context) {
  auto *state = static_cast<CsvState *>(context);
  if (state->fields.isEmpty())
    state->recordLine = state->currentLine;
  if (state->fields.size() >= kMaxCsvFields) {
    state->tooManyFields = true;
    return;
  }
  state->fields.append(
      QString::fromUtf8(static_cast<const char *>(data), qsizetype(length)));
}

void OnRecordEnd(int, void *context) {
  auto *state = static_cast<CsvState *>(context);
  bool blank = true;
  for (const QString &field : state->fields)
    blank = blank && field.trimmed().isEmpty();
  if (!blank && !state->tooManyFields)
    state->ready.push_back({state->recordLine, state->fields, {}});
  state->fields.clear();
}

int IsBlank(unsigned char c) { return c == ' ' ? 1 : 0; }

// Feeds decoded text to libcsv and hands out its records.
class CsvLines {
public:
  explicit CsvLines(char delimiter) {
    csv_init(&parser_, 0);
    csv_set_delim(&parser_, static_cast<unsigned char>(delimiter));
    csv_set_space_func(&parser_, IsBlank);
  }
  ~CsvLines() { csv_free(&parser_); }

  // Text of the physical line lineNumber: all of it or a part.
  bool Feed(int lineNumber, QByteArrayView text) {
    state_.currentLine = lineNumber;
    return csv_parse(&parser_, text.data(), size_t(text.size()), OnField,
                     OnRecordEnd, &state_) == size_t(text.size());
  }
  void Finish() { csv_fini(&parser_, OnField, OnRecordEnd, &state_); }
  // The line of a record with too many fields, or 0.
  int TooManyFieldsAt() const {
    return state_.tooManyFields ? state_.recordLine : 0;
  }
  std::vector<SourceLine> Take() {
    std::vector<SourceLine> lines;
    lines.swap(state_.ready);
    return lines;
  }

private:
  csv_parser parser_;
  CsvState state_;
};

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
  CsvLines csv(format.delimiter);
  int lineNumber = 0; // lines ended so far
  bool headerDone = !format.hasHeader;
  bool stopped = false;
  headers->clear();

  auto deliver = [&]() {
    for (SourceLine &line : csv.Take()) {
      if (stopped)
        return;
      if (!headerDone) {
        *headers = line.fields;
        headerDone = true;
        continue;
      }
      if (!format.rowsEnd.isEmpty() &&
          line.fields.value(0).trimmed().startsWith(format.rowsEnd)) {
        stopped = true;
        return;
      }
      if (!format.hasHeader)
        NameColumns(headers, line.fields.size());
      if (!onLine(line))
        stopped = true;
    }
  };
  // Feeds text line by line, so that each record knows the line it starts
  // on; a line not yet ended is fed as far as it goes, so that a long line
  // is never gathered whole.
  qsizetype lineBytes = 0; // of the line not yet ended
  auto feed = [&](const QByteArray &text) {
    qsizetype start = 0;
    while (start < text.size() && !stopped) {
      const qsizetype newline = text.indexOf('\n', start);
      const qsizetype end = newline < 0 ? text.size() : newline + 1;
      const int line = lineNumber + 1;
      lineBytes += end - start;
      if (lineBytes > kMaxLineBytes) {
        *error = QStringLiteral("对账单第%1行超过 %2 KB，不是可识别的对账单：%3")
                     .arg(line)
                     .arg(kMaxLineBytes / 1024)
                     .arg(path);
        return false;
      }
      if (newline >= 0)
        lineBytes = 0;
      if (line > format.skipLines) {
        if (!csv.Feed(line, QByteArrayView(text).sliced(start, end - start))) {
          *error = QStringLiteral("第%1行无法读取").arg(line);
          return false;
        }
        if (const int at = csv.TooManyFieldsAt()) {
          *error = TooManyFieldsMessage(at, path);
          return false;
        }
      }
      if (newline >= 0)
        ++lineNumber;
      start = end;
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
  csv.Finish();
  deliver();
  return true;
}

bool ReadOfx(const QString &path, QStringList *headers,
             const std::function<bool(const SourceLine &)> &onLine,
             QString *error) {
  *headers = OfxColumns();
  return ReadOfxTransactions(path, onLine, error);
}

// The cells of a row without the empty ones at its end.
QStringList UpToLastFilled(QStringList cells) {
  while (!cells.isEmpty() && cells.last().trimmed().isEmpty())
    cells.removeLast();
  return cells;
}

// The rows of the first sheet after skipLines, as a CSV's lines: empty rows
// left out, each data row with as many fields as the header at least.
bool ReadXlsx(const QString &path, const StatementFormat &format,
              QStringList *headers,
              const std::function<bool(const SourceLine &)> &onLine,
              QString *error) {
  headers->clear();
  bool headerDone = !format.hasHeader;
  return ReadXlsxRows(
      path,
      [&](int row, const QStringList &cells) {
        if (row <= format.skipLines)
          return true;
        QStringList fields = UpToLastFilled(cells);
        if (fields.isEmpty())
          return true;
        if (!headerDone) {
          *headers = fields;
          headerDone = true;
          return true;
        }
        if (!format.rowsEnd.isEmpty() &&
            fields.value(0).trimmed().startsWith(format.rowsEnd))
          return false;
        if (!format.hasHeader)
          NameColumns(headers, fields.size());
        while (fields.size() < headers->size())
          fields.append(QString());
        return onLine({row, fields, {}});
      },
      error);
}

} // namespace

QString NotAStatementMessage() {
  return QStringLiteral("文件不是可识别的对账单（CSV 或 OFX）！");
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

// The lines above the header of the first sheet, from its first 40 rows;
// a row the sheet does not hold counts as an empty line. A row's count is
// of its cells up to the last filled one, so data rows that leave their
// last cells empty count fewer than the header.
bool DetectXlsxSkipLines(const QString &path, StatementFormat *format,
                         QString *error) {
  std::vector<int> fieldCounts;
  const bool read = ReadXlsxRows(
      path,
      [&](int row, const QStringList &cells) {
        if (row > kSampleLines)
          return false;
        fieldCounts.resize(size_t(row - 1), 0);
        fieldCounts.push_back(int(UpToLastFilled(cells).size()));
        return true;
      },
      error);
  format->skipLines = DetectSkipLines(fieldCounts, true);
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
  if (LooksLikeZip(head)) {
    format->kind = StatementKind::Xlsx;
    return DetectXlsxSkipLines(path, format, error);
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
  std::vector<int> fieldCounts;
  for (const QString &line : lines)
    fieldCounts.push_back(FieldCount(line, format->delimiter));
  format->skipLines = DetectSkipLines(fieldCounts, false);
  return true;
}

bool ReadStatement(const QString &path, const StatementFormat &format,
                   QStringList *headers,
                   const std::function<bool(const SourceLine &)> &onLine,
                   QString *error) {
  if (format.kind == StatementKind::Ofx)
    return ReadOfx(path, headers, onLine, error);
  if (format.kind == StatementKind::Xlsx)
    return ReadXlsx(path, format, headers, onLine, error);
  return ReadCsv(path, format, headers, onLine, error);
}
