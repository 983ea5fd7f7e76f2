// Reading CSV statements; see csv_reader.h.
#include "exchange/csv_reader.h"

#include "exchange/csv_records.h"
#include "exchange/row_shaper.h"
#include "exchange/statement_file.h"
#include "exchange/statement_messages.h"
#include "exchange/statement_rows.h"
#include "exchange/text_decoding.h"

#include <QStringDecoder>

#include <algorithm>
#include <map>

namespace {

// No line of a statement is this long; a longer one is no statement.
constexpr qsizetype kMaxLineBytes = 256 * 1024;
// The lines at the start of a statement that its settings are detected
// from.
constexpr int kSampleLines = 40;

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

QString LineTooLongError(int line, const QString &path) {
  return QStringLiteral("对账单第%1行超过 %2 KB，不是可识别的对账单：%3")
      .arg(line)
      .arg(kMaxLineBytes / 1024)
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

QList<QStringList> HeadLines(const QString &head, char delimiter, bool cut) {
  QStringList texts = head.split(QLatin1Char('\n'));
  if (cut && texts.size() > 1)
    texts.removeLast(); // perhaps cut off by the end of what was read
  QList<QStringList> lines;
  for (const QString &text : texts.mid(0, 200))
    lines.append(SplitCsvLine(text, delimiter));
  return lines;
}

bool CsvReader::DetectFormat(StatementFile &file, StatementFormat *format,
                             QString *error) const {
  if (!file.ReadHead()) {
    *error = CannotReadMessage(file.Path());
    return false;
  }
  const QByteArray &head = file.Head();
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
                   format->encoding, 1, file.Path(), &text, error))
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

QList<QStringList> CsvReader::FirstLines(StatementFile &file,
                                         StatementFormat *format,
                                         FirstLook look) const {
  if (!file.ReadHead())
    return {};
  const QByteArray &head = file.Head();
  const bool cut = head.size() == kStatementHeadBytes;
  if (look == FirstLook::Given) {
    QStringDecoder decoder(format->encoding.toLatin1().constData());
    if (!decoder.isValid())
      return {};
    const QString text =
        decoder.decode(head.mid(ByteOrderMarkLength(head, format->encoding)));
    return HeadLines(text, format->delimiter, cut);
  }
  const QString encoding = DetectEncoding(head);
  QStringDecoder decoder(encoding.toLatin1().constData());
  const QString text =
      decoder.decode(head.mid(ByteOrderMarkLength(head, encoding)));
  if (decoder.hasError() || text.contains(QChar(0)))
    return {};
  const char delimiter =
      DetectDelimiter(text.split(QLatin1Char('\n')).mid(0, kSampleLines));
  format->encoding = encoding;
  format->delimiter = delimiter;
  return HeadLines(text, delimiter, cut);
}

bool CsvReader::ReadLines(StatementFile &source, const StatementFormat &format,
                          QStringList *headers, const LineSink &onLine,
                          QString *error) const {
  const QString &path = source.Path();
  StatementChunks chunks(source);
  if (!chunks.Open()) {
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
        *error = LineTooLongError(lineNumber + 1, path);
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
  QByteArray chunk;
  while (!stopped) {
    if (!chunks.Next(&chunk)) {
      *error = CannotReadMessage(path);
      return false;
    }
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
