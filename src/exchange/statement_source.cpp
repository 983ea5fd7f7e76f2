// Reading CSV and OFX statements; see statement_source.h.
#include "exchange/statement_source.h"

#include "exchange/text_decoding.h"

#include <QDateTime>
#include <QFile>
#include <QStringDecoder>

#include <csv.h>
#include <libofx/libofx.h>

#include <map>
#include <vector>

namespace {

constexpr qint64 kChunk = 64 * 1024;

QString NoStatement() {
  return QStringLiteral("文件不是可识别的对账单（CSV 或 OFX）！");
}

QString CannotRead(const QString &path) {
  return QStringLiteral("无法读取文件：%1").arg(path);
}

bool LooksLikeOfx(const QByteArray &head) {
  const QByteArray upper = head.left(4096).toUpper();
  return upper.contains("OFXHEADER") || upper.contains("<OFX>");
}

// Binary data: NUL bytes in a text that is not UTF-16, or many control
// characters.
bool LooksBinary(const QByteArray &head, const QString &encoding) {
  if (encoding.startsWith(QLatin1String("UTF-16")))
    return false;
  int control = 0;
  for (const char c : head) {
    const uchar u = uchar(c);
    if (u == 0)
      return true;
    if (u < 0x20 && u != '\n' && u != '\r' && u != '\t')
      ++control;
  }
  return control > head.size() / 20;
}

// ---- CSV through libcsv ----

// What the libcsv callbacks fill in for one run.
struct CsvState {
  QStringList fields;
  int currentLine = 0;
  int recordLine = 0;
  std::vector<SourceLine> ready;
};

void OnField(void *data, size_t length, void *context) {
  auto *state = static_cast<CsvState *>(context);
  if (state->fields.isEmpty())
    state->recordLine = state->currentLine;
  state->fields.append(
      QString::fromUtf8(static_cast<const char *>(data), qsizetype(length)));
}

void OnRecordEnd(int, void *context) {
  auto *state = static_cast<CsvState *>(context);
  bool blank = true;
  for (const QString &field : state->fields)
    blank = blank && field.trimmed().isEmpty();
  if (!blank)
    state->ready.push_back({state->recordLine, state->fields});
  state->fields.clear();
}

int IsBlank(unsigned char c) { return c == ' ' ? 1 : 0; }

// Feeds decoded lines to libcsv and hands out its records.
class CsvLines {
public:
  explicit CsvLines(char delimiter) {
    csv_init(&parser_, 0);
    csv_set_delim(&parser_, static_cast<unsigned char>(delimiter));
    csv_set_space_func(&parser_, IsBlank);
  }
  ~CsvLines() { csv_free(&parser_); }

  // One physical line, with its line break.
  bool Feed(int lineNumber, const QByteArray &line) {
    state_.currentLine = lineNumber;
    return csv_parse(&parser_, line.constData(), size_t(line.size()), OnField,
                     OnRecordEnd, &state_) == size_t(line.size());
  }
  void Finish() { csv_fini(&parser_, OnField, OnRecordEnd, &state_); }
  std::vector<SourceLine> Take() {
    std::vector<SourceLine> lines;
    lines.swap(state_.ready);
    return lines;
  }

private:
  csv_parser parser_;
  CsvState state_;
};

bool ReadCsv(const QString &path, const StatementFormat &format,
             QStringList *headers,
             const std::function<bool(const SourceLine &)> &onLine,
             QString *error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *error = CannotRead(path);
    return false;
  }
  QStringDecoder decoder(format.encoding.toLatin1().constData());
  if (!decoder.isValid()) {
    *error = QStringLiteral("不支持的编码：%1").arg(format.encoding);
    return false;
  }
  CsvLines csv(format.delimiter);
  QByteArray pending; // UTF-8 text after the last complete line
  int lineNumber = 0;
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
      // Without a header line the columns are named by number.
      if (!format.hasHeader)
        for (qsizetype i = headers->size(); i < line.fields.size(); ++i)
          headers->append(QStringLiteral("列%1").arg(i + 1));
      if (!onLine(line))
        stopped = true;
    }
  };
  auto feedLines = [&](bool atEnd) {
    qsizetype start = 0;
    for (;;) {
      const qsizetype end = pending.indexOf('\n', start);
      if (end < 0)
        break;
      ++lineNumber;
      if (lineNumber > format.skipLines &&
          !csv.Feed(lineNumber, pending.mid(start, end - start + 1))) {
        *error = QStringLiteral("第%1行无法读取").arg(lineNumber);
        return false;
      }
      start = end + 1;
      deliver();
      if (stopped)
        return true;
    }
    pending.remove(0, start);
    if (atEnd && !pending.isEmpty()) {
      ++lineNumber;
      if (lineNumber > format.skipLines)
        csv.Feed(lineNumber, pending);
      pending.clear();
    }
    return true;
  };

  bool first = true;
  while (!stopped) {
    QByteArray chunk = file.read(kChunk);
    if (chunk.isEmpty())
      break;
    if (first) {
      chunk.remove(0, ByteOrderMarkLength(chunk, format.encoding));
      first = false;
    }
    pending += QString(decoder.decode(chunk)).toUtf8();
    if (!feedLines(false))
      return false;
  }
  if (stopped)
    return true;
  pending += QString(decoder.decode(QByteArray())).toUtf8();
  if (!feedLines(true))
    return false;
  csv.Finish();
  deliver();
  return true;
}

// ---- OFX through libofx ----

QString OfxText(const char *text, int valid) {
  return valid ? QString::fromUtf8(text).trimmed() : QString();
}

int OnTransaction(const OfxTransactionData data, void *context) {
  auto *lines = static_cast<std::vector<SourceLine> *>(context);
  SourceLine line;
  line.lineNumber = int(lines->size()) + 1;
  const QDateTime posted =
      data.date_posted_valid
          ? QDateTime::fromSecsSinceEpoch(qint64(data.date_posted), Qt::UTC)
          : QDateTime();
  line.fields = {posted.isValid() ? posted.date().toString(Qt::ISODate)
                                  : QString(),
                 data.amount_valid ? QString::number(data.amount, 'g', 15)
                                   : QString(),
                 OfxText(data.name, data.name_valid),
                 OfxText(data.memo, data.memo_valid),
                 OfxText(data.fi_id, data.fi_id_valid)};
  lines->push_back(line);
  return 0;
}

int OnStatement(const OfxStatementData, void *context) {
  *static_cast<bool *>(context) = true;
  return 0;
}

bool ReadOfx(const QString &path, QStringList *headers,
             const std::function<bool(const SourceLine &)> &onLine,
             QString *error) {
  if (!QFile::exists(path)) {
    *error = CannotRead(path);
    return false;
  }
  // libofx talks on the console unless told not to.
  ofx_PARSER_msg = ofx_DEBUG_msg = ofx_DEBUG1_msg = ofx_DEBUG2_msg = 0;
  ofx_DEBUG3_msg = ofx_DEBUG4_msg = ofx_DEBUG5_msg = 0;
  ofx_STATUS_msg = ofx_INFO_msg = ofx_WARNING_msg = ofx_ERROR_msg = 0;
  std::vector<SourceLine> lines;
  bool statement = false;
  LibofxContextPtr context = libofx_get_new_context();
  ofx_set_transaction_cb(context, OnTransaction, &lines);
  ofx_set_statement_cb(context, OnStatement, &statement);
  libofx_proc_file(context, QFile::encodeName(path).constData(), OFX);
  libofx_free_context(context);
  if (lines.empty() && !statement) {
    *error = NoStatement();
    return false;
  }
  *headers = OfxColumns();
  for (const SourceLine &line : lines)
    if (!onLine(line))
      break;
  return true;
}

} // namespace

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

// The lines before the first that has the most common field count: a
// bank's title and account lines above the header.
int DetectSkipLines(const QStringList &lines, char delimiter) {
  std::map<int, int> counts;
  for (const QString &line : lines)
    if (!line.trimmed().isEmpty())
      ++counts[FieldCount(line, delimiter)];
  int common = 0, most = 0;
  for (const auto &[fields, number] : counts)
    if (fields > 1 && number > most) {
      most = number;
      common = fields;
    }
  for (qsizetype i = 0; i < lines.size(); ++i)
    if (FieldCount(lines.at(i), delimiter) == common)
      return int(i);
  return 0;
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
    *error = CannotRead(path);
    return false;
  }
  const QByteArray head = file.read(kChunk);
  if (head.trimmed().isEmpty()) {
    *error = NoStatement();
    return false;
  }
  if (LooksLikeOfx(head)) {
    format->kind = StatementKind::Ofx;
    return true;
  }
  format->kind = StatementKind::Csv;
  format->encoding = DetectEncoding(head);
  if (LooksBinary(head, format->encoding)) {
    *error = NoStatement();
    return false;
  }
  QStringDecoder decoder(format->encoding.toLatin1().constData());
  const QString text =
      decoder.decode(head.mid(ByteOrderMarkLength(head, format->encoding)));
  QStringList lines = text.split(QLatin1Char('\n'));
  if (lines.size() > 1)
    lines.removeLast(); // perhaps cut off by the sample's end
  lines = lines.mid(0, 40);
  format->delimiter = DetectDelimiter(lines);
  format->skipLines = DetectSkipLines(lines, format->delimiter);
  return true;
}

bool ReadStatement(const QString &path, const StatementFormat &format,
                   QStringList *headers,
                   const std::function<bool(const SourceLine &)> &onLine,
                   QString *error) {
  if (format.kind == StatementKind::Ofx)
    return ReadOfx(path, headers, onLine, error);
  return ReadCsv(path, format, headers, onLine, error);
}
