// CSV records with recovery from stray quotes; see csv_records.h.
#include "exchange/csv_records.h"

namespace {

// libcsv's state between records (csv.c's ROW_NOT_BEGUN).
constexpr int kRowNotBegun = 0;

void FieldCallback(void *data, size_t length, void *context) {
  static_cast<CsvRecords *>(context)->OnField(static_cast<const char *>(data),
                                              length);
}

void RecordCallback(int, void *context) {
  static_cast<CsvRecords *>(context)->OnRecordEnd();
}

int IsBlank(unsigned char c) { return c == ' ' ? 1 : 0; }
int IsBlankOrTab(unsigned char c) { return c == ' ' || c == '\t' ? 1 : 0; }

bool AllEmpty(const QStringList &fields) {
  for (const QString &field : fields)
    if (!field.trimmed().isEmpty())
      return false;
  return true;
}

} // namespace

QString UnclosedQuoteReason() { return QStringLiteral("引号没有闭合"); }

CsvRecords::CsvRecords(char delimiter) : delimiter_(delimiter) {
  csv_init(&parser_, 0);
  Reset();
}

CsvRecords::~CsvRecords() { csv_free(&parser_); }

void CsvRecords::Reset() {
  csv_free(&parser_);
  csv_init(&parser_, 0);
  csv_set_delim(&parser_, static_cast<unsigned char>(delimiter_));
  // A tab that delimits fields is no blank.
  csv_set_space_func(&parser_, delimiter_ == '\t' ? IsBlank : IsBlankOrTab);
  fields_.clear();
  ended_ = false;
}

void CsvRecords::OnField(const char *data, size_t length) {
  if (fields_.size() >= kMaxCsvFields) {
    if (!tooMany_)
      tooManyAt_ = open_.empty() ? 0 : open_.front().number;
    tooMany_ = true;
    return;
  }
  fields_.append(QString::fromUtf8(data, qsizetype(length)));
}

void CsvRecords::OnRecordEnd() { ended_ = true; }

bool CsvRecords::Line(int number, const QByteArray &text) {
  queue_.push_back({number, text});
  return Drain();
}

bool CsvRecords::Drain() {
  while (!queue_.empty() && !tooMany_) {
    const Pending line = std::move(queue_.front());
    queue_.pop_front();
    if (!Feed(line))
      return false;
  }
  return !tooMany_;
}

bool CsvRecords::Feed(const Pending &line) {
  open_.push_back(line);
  openBytes_ += line.text.size();
  csv_parse(&parser_, line.text.constData(), size_t(line.text.size()),
            FieldCallback, RecordCallback, this);
  if (tooMany_)
    return false;
  if (ended_) {
    Ended();
  } else if (parser_.pstate == kRowNotBegun) {
    // A blank line.
    open_.clear();
    openBytes_ = 0;
  } else if (openBytes_ > kMaxCsvRecordBytes) {
    Abandon();
  }
  return true;
}

void CsvRecords::Ended() {
  ended_ = false;
  QStringList fields;
  fields.swap(fields_);
  // A record over several lines is a quoted field with line breaks; one
  // that then lacks columns was opened by a stray quote.
  bool fits = open_.size() == 1 || columns_ == 0 || fields.size() >= columns_;
  for (qsizetype i = columns_; fits && columns_ > 0 && i < fields.size(); ++i)
    fits = open_.size() == 1 || fields.at(i).trimmed().isEmpty();
  if (!fits) {
    Abandon();
    return;
  }
  if (!AllEmpty(fields))
    ready_.push_back({open_.front().number, fields, {}, false});
  open_.clear();
  openBytes_ = 0;
}

void CsvRecords::Abandon() {
  ready_.push_back({open_.front().number, {}, UnclosedQuoteReason(), false});
  for (size_t i = open_.size(); i-- > 1;)
    queue_.push_front(std::move(open_[i]));
  open_.clear();
  openBytes_ = 0;
  Reset();
}

bool CsvRecords::Finish() {
  // Lines given back by a bad record are read again, so the end may come
  // more than once.
  for (;;) {
    if (!Drain())
      return false;
    if (open_.empty())
      return true;
    csv_fini(&parser_, FieldCallback, RecordCallback, this);
    if (tooMany_)
      return false;
    if (ended_)
      Ended();
    else
      Abandon();
  }
}

std::vector<SourceLine> CsvRecords::Take() {
  std::vector<SourceLine> lines;
  lines.swap(ready_);
  return lines;
}
