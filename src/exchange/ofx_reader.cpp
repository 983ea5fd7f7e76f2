// Reading OFX transactions; see ofx_reader.h.
//
// OFX 1 is SGML whose leaf elements have no end tags: "<NAME>Shop<MEMO>x".
// A start tag followed by text is a leaf; one followed by another tag opens
// an aggregate, which an end tag of its name closes (with everything opened
// inside it). OFX 2 is the same with every end tag written.
#include "exchange/ofx_reader.h"

#include "exchange/statement_file.h"
#include "exchange/statement_messages.h"

#include <QDate>
#include <QStringDecoder>
#include <QTime>

#include <cctype>
#include <vector>

namespace {

constexpr qsizetype kMaxTag = 256;
constexpr qsizetype kMaxValue = 1024 * 1024;

enum Field { kDate, kAmount, kName, kMemo, kId, kFieldCount };

int FieldOf(const QByteArray &tag) {
  if (tag == "DTPOSTED")
    return kDate;
  if (tag == "TRNAMT")
    return kAmount;
  if (tag == "NAME")
    return kName;
  if (tag == "MEMO")
    return kMemo;
  if (tag == "FITID")
    return kId;
  return -1;
}

// Text of an OFX value: UTF-8 when it reads as such, else Windows-1252 (the
// CHARSET:1252 of OFX 1), with the character entities replaced.
QString ValueText(const QByteArray &bytes) {
  bool ascii = true;
  for (const char c : bytes)
    ascii = ascii && uchar(c) < 0x80;
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = ascii ? QString::fromLatin1(bytes) : QString(utf8.decode(bytes));
  if (utf8.hasError()) {
    QStringDecoder cp1252("windows-1252");
    text = cp1252.isValid() ? QString(cp1252.decode(bytes))
                            : QString::fromLatin1(bytes);
  }
  if (!text.contains(QLatin1Char('&')))
    return text;
  static const std::pair<const char *, const char *> kEntities[] = {
      {"&lt;", "<"},    {"&gt;", ">"},     {"&quot;", "\""},
      {"&apos;", "'"},  {"&nbsp;", " "},   {"&amp;", "&"}};
  for (const auto &[entity, character] : kEntities)
    text.replace(QLatin1String(entity), QLatin1String(character));
  return text;
}

// The file read token by token: text between tags, and tags.
class OfxScanner {
public:
  explicit OfxScanner(StatementChunks &chunks) : chunks_(chunks) {}

  // Whether the file could not be read on.
  bool Failed() const { return failed_; }

  enum Kind { kText, kStartTag, kEndTag, kEnd, kTooLong, kNul };
  // The next token; its text (the tag's name in upper case) in token. A NUL
  // byte anywhere in what was read gives kNul before a token that follows
  // it could end a transaction.
  Kind Next(QByteArray *token) {
    for (;;) {
      token->clear();
      if (!Available())
        return kEnd;
      if (nul_)
        return kNul;
      if (buffer_[pos_] != '<')
        return ReadUntil('<', kMaxValue, token, false) ? kText : kTooLong;
      ++pos_;
      if (!ReadUntil('>', kMaxTag, token, true))
        return kTooLong;
      // Declarations, comments and processing instructions carry nothing.
      if (!token->startsWith('?') && !token->startsWith('!'))
        return Tag(token);
    }
  }

private:
  // The name of the tag text in upper case; end tags lose their '/'.
  static Kind Tag(QByteArray *token) {
    const bool end = token->startsWith('/');
    const qsizetype start = end ? 1 : 0;
    qsizetype stop = start;
    while (stop < token->size() && !std::isspace(uchar(token->at(stop))) &&
           token->at(stop) != '/')
      ++stop;
    *token = token->mid(start, stop - start).toUpper();
    return end ? kEndTag : kStartTag;
  }

  bool Available() {
    if (pos_ < buffer_.size())
      return true;
    failed_ = !chunks_.Next(&buffer_);
    pos_ = 0;
    nul_ = nul_ || buffer_.contains('\0');
    return !buffer_.isEmpty();
  }

  // Appends the bytes up to stop to token (stop itself consumed when
  // consume); false when more than limit bytes come first.
  bool ReadUntil(char stop, qsizetype limit, QByteArray *token, bool consume) {
    while (Available()) {
      const qsizetype at = buffer_.indexOf(stop, pos_);
      const qsizetype end = at < 0 ? buffer_.size() : at;
      if (token->size() + (end - pos_) > limit)
        return false;
      token->append(buffer_.constData() + pos_, end - pos_);
      pos_ = end;
      if (at >= 0) {
        pos_ += consume ? 1 : 0;
        return true;
      }
    }
    return true;
  }

  StatementChunks &chunks_;
  bool failed_ = false;
  QByteArray buffer_;
  qsizetype pos_ = 0;
  bool nul_ = false;
};

// Follows the elements and gathers the fields of each transaction.
class OfxParser {
public:
  OfxParser(const QString &path,
            const std::function<bool(const SourceLine &)> &onLine)
      : path_(path), onLine_(onLine) {}

  bool Run(StatementChunks &chunks, QString *error) {
    OfxScanner scanner(chunks);
    QByteArray token;
    for (;;) {
      switch (scanner.Next(&token)) {
      case OfxScanner::kTooLong:
        *error = QStringLiteral("OFX 文件中有过长的标记或值：%1").arg(path_);
        return false;
      case OfxScanner::kNul:
        *error = QStringLiteral("OFX 文件中有空字符（NUL）：%1").arg(path_);
        return false;
      case OfxScanner::kStartTag:
        if (!Start(token, error))
          return false;
        break;
      case OfxScanner::kEndTag:
        EndTag(token);
        break;
      case OfxScanner::kText:
        Text(token);
        break;
      case OfxScanner::kEnd:
        if (scanner.Failed()) {
          *error = CannotReadMessage(path_);
          return false;
        }
        return Finish(error);
      }
      if (stopped_)
        return true;
    }
  }

private:
  bool Start(const QByteArray &tag, QString *error) {
    // A start tag right after another opens the earlier as an aggregate.
    if (!pending_.isEmpty() && !Open(pending_, error))
      return false;
    pending_ = tag;
    return true;
  }

  bool Open(const QByteArray &tag, QString *error) {
    if (stack_.size() >= size_t(kMaxOfxDepth)) {
      *error = QStringLiteral("OFX 文件的嵌套超过 %1 层，不是可识别的对账单：%2")
                   .arg(kMaxOfxDepth)
                   .arg(path_);
      return false;
    }
    if (tag == "OFX")
      sawOfx_ = true;
    if (tag == "STMTTRN" && transactionDepth_ < 0) {
      transactionDepth_ = int(stack_.size());
      for (QString &field : fields_)
        field = QString();
    }
    stack_.push_back(tag);
    return true;
  }

  void Text(const QByteArray &text) {
    const QByteArray value = text.trimmed();
    if (value.isEmpty() || pending_.isEmpty())
      return;
    Leaf(pending_, value);
    lastLeaf_ = pending_;
    pending_.clear();
  }

  void Leaf(const QByteArray &tag, const QByteArray &value) {
    if (transactionDepth_ < 0)
      return;
    const int field = FieldOf(tag);
    if (field >= 0 && fields_[field].isNull())
      fields_[field] = ValueText(value).trimmed();
  }

  void EndTag(const QByteArray &tag) {
    if (!pending_.isEmpty()) {
      // "<MEMO></MEMO>" or "<MEMO></STMTTRN>": an empty leaf.
      const bool closesPending = pending_ == tag;
      lastLeaf_ = pending_;
      pending_.clear();
      if (closesPending)
        return;
    }
    if (tag == lastLeaf_) {
      lastLeaf_.clear();
      return; // the end tag of a leaf, as OFX 2 writes it
    }
    lastLeaf_.clear();
    for (size_t depth = stack_.size(); depth-- > 0;) {
      if (stack_[depth] != tag)
        continue;
      while (stack_.size() > depth)
        Close();
      return;
    }
    // An end tag of nothing open is left alone.
  }

  void Close() {
    stack_.pop_back();
    if (int(stack_.size()) != transactionDepth_)
      return;
    transactionDepth_ = -1;
    SourceLine line;
    line.lineNumber = ++transactions_;
    const QString &date = fields_[kDate];
    const QString day = OfxDateText(date);
    line.fields = {day.isNull() ? date : day, fields_[kAmount], fields_[kName],
                   fields_[kMemo], fields_[kId]};
    if (date.isEmpty())
      line.problem = QStringLiteral("没有日期");
    else if (fields_[kAmount].isEmpty())
      line.problem = QStringLiteral("没有金额");
    if (!stopped_ && !onLine_(line))
      stopped_ = true;
  }

  bool Finish(QString *error) {
    if (!stack_.empty()) {
      *error = QStringLiteral("OFX 文件不完整（在 <%1> 中结束）：%2")
                   .arg(QString::fromLatin1(stack_.back()), path_);
      return false;
    }
    if (!sawOfx_) {
      *error = NotAStatementMessage();
      return false;
    }
    return true;
  }

  QString path_;
  const std::function<bool(const SourceLine &)> &onLine_;
  std::vector<QByteArray> stack_;
  QByteArray pending_;  // a start tag not yet known as leaf or aggregate
  QByteArray lastLeaf_; // the leaf whose end tag may follow
  int transactionDepth_ = -1;
  int transactions_ = 0;
  QString fields_[kFieldCount];
  bool sawOfx_ = false;
  bool stopped_ = false;
};

// Digits of text from at, count of them, as a number; -1 when not digits.
int Digits(const QString &text, qsizetype at, int count) {
  if (at + count > text.size())
    return -1;
  int value = 0;
  for (int i = 0; i < count; ++i) {
    const QChar c = text.at(at + i);
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
      return -1;
    value = value * 10 + (c.unicode() - '0');
  }
  return value;
}

} // namespace

QString OfxDateText(const QString &text) {
  const QDate date(Digits(text, 0, 4), Digits(text, 4, 2), Digits(text, 6, 2));
  if (!date.isValid() || date.year() < 1)
    return {};
  qsizetype at = 8;
  // HHMM or HHMMSS, then perhaps ".XXX" and a zone in brackets.
  if (Digits(text, at, 4) >= 0) {
    const int seconds = Digits(text, at + 4, 2);
    if (!QTime(Digits(text, at, 2), Digits(text, at + 2, 2),
               seconds < 0 ? 0 : seconds)
             .isValid())
      return {};
    at += seconds < 0 ? 4 : 6;
    if (at < text.size() && text.at(at) == QLatin1Char('.')) {
      ++at;
      while (Digits(text, at, 1) >= 0)
        ++at;
    }
  }
  if (at < text.size() && text.at(at) == QLatin1Char('[') &&
      text.endsWith(QLatin1Char(']')))
    at = text.size();
  if (at != text.size())
    return {};
  return date.toString(Qt::ISODate);
}

namespace {

bool ReadTransactions(StatementFile &file, const LineSink &onLine,
                      QString *error) {
  StatementChunks chunks(file);
  if (!chunks.Open()) {
    *error = CannotReadMessage(file.Path());
    return false;
  }
  OfxParser parser(file.Path(), onLine);
  return parser.Run(chunks, error);
}

} // namespace

bool ReadOfxTransactions(const QString &path, const LineSink &onLine,
                         QString *error) {
  StatementFile file(path);
  return ReadTransactions(file, onLine, error);
}

QStringList OfxColumns() {
  return {QStringLiteral("日期"), QStringLiteral("交易金额"),
          QStringLiteral("名称"), QStringLiteral("备注"),
          QStringLiteral("交易号")};
}

bool LooksLikeOfx(const QByteArray &head) {
  const QByteArray upper = head.left(4096).toUpper();
  return upper.contains("OFXHEADER") || upper.contains("<OFX>");
}

bool OfxReader::DetectFormat(StatementFile &, StatementFormat *format,
                             QString *) const {
  format->kind = StatementKind::Ofx;
  return true;
}

QList<QStringList> OfxReader::FirstLines(StatementFile &, StatementFormat *,
                                         FirstLook) const {
  return {};
}

bool OfxReader::ReadLines(StatementFile &file, const StatementFormat &,
                          QStringList *headers, const LineSink &onLine,
                          QString *error) const {
  *headers = OfxColumns();
  return ReadTransactions(file, onLine, error);
}
