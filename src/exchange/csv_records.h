// The records of a CSV text, fed line by line to libcsv. A record normally
// is one line; a quoted field may run over several lines, but a quote that
// opens and never closes (a stray '"') must not swallow the rest of the
// file: a record that spans lines and then does not have the columns of
// the header, or that grows past kMaxCsvRecordBytes, is a bad line named
// by the line it starts on, and the lines after that one are read again on
// their own. Blanks and tabs around quoted fields are dropped (a tab
// between a closing quote and the comma is how some bills are written).
#pragma once

#include "exchange/statement_lines.h"

#include <QByteArray>

#include <csv.h>

#include <deque>
#include <vector>

// The most bytes of one record.
inline constexpr qsizetype kMaxCsvRecordBytes = 256 * 1024;

class CsvRecords {
public:
  explicit CsvRecords(char delimiter);
  ~CsvRecords();
  CsvRecords(const CsvRecords &) = delete;
  CsvRecords &operator=(const CsvRecords &) = delete;

  // The number of columns a record spanning lines must have (the header's);
  // 0 while it is not known.
  void SetColumns(qsizetype columns) { columns_ = columns; }
  // Feeds the physical line numbered number (UTF-8 text, with its line
  // end unless it is the last). False when a record has more than
  // kMaxCsvFields fields: the file is no statement.
  bool Line(int number, const QByteArray &text);
  // Ends the text: a record still open is judged as it stands.
  bool Finish();
  // The records (and bad lines) completed so far, in order.
  std::vector<SourceLine> Take();
  // The line of the record with too many fields.
  int TooManyFieldsAt() const { return tooManyAt_; }

  // libcsv's callbacks.
  void OnField(const char *data, size_t length);
  void OnRecordEnd();

private:
  struct Pending {
    int number;
    QByteArray text;
  };
  void Reset();
  bool Feed(const Pending &line);
  // Judges the record that just ended: delivered, or bad with its later
  // lines read again.
  void Ended();
  // The open record is bad: its first line is reported, its other lines
  // go back to be read again.
  void Abandon();
  bool Drain();

  csv_parser parser_;
  char delimiter_;
  qsizetype columns_ = 0;
  QStringList fields_;
  bool ended_ = false;
  bool tooMany_ = false;
  int tooManyAt_ = 0;
  std::vector<Pending> open_; // the lines of the record not yet ended
  qsizetype openBytes_ = 0;
  std::deque<Pending> queue_; // lines to read (again)
  std::vector<SourceLine> ready_;
};

// "引号没有闭合"
QString UnclosedQuoteReason();
