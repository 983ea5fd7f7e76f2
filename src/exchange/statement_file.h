// A statement file as the import opens it: its path, and its start read
// once for every look that opening takes (recognising a known bill,
// detecting the reading settings, the head above the header, the header
// and the sample lines). The first kStatementHeadBytes bytes are kept, and
// the first rows a reader of rows (a workbook's) gave. A StatementFile
// lives while a statement is opened: a check reads the file again as it is
// then.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

// The start of a file that tells its format, a bill's layout and a CSV's
// encoding and delimiter.
inline constexpr qint64 kStatementHeadBytes = 64 * 1024;

// Rows read from the start of a file, in order, as a reader of rows gave
// them.
struct FirstRows {
  struct Row {
    int number = 0;
    QStringList cells;
  };
  std::vector<Row> rows;
  // How the reading ended after the rows: at the end of the sheet, stopped
  // (more rows follow), or failed with error.
  enum class End { Whole, Stopped, Failed };
  End end = End::Whole;
  QString error;
};

class StatementFile {
public:
  explicit StatementFile(QString path) : path_(std::move(path)) {}

  const QString &Path() const { return path_; }

  // Reads the first kStatementHeadBytes bytes of the file (all of a
  // shorter one) unless they were read; false when the file cannot be
  // opened.
  bool ReadHead();
  // The bytes ReadHead read; empty before.
  const QByteArray &Head() const { return head_; }
  // Whether ReadHead has read the head.
  bool HasHead() const { return headRead_ && headReadable_; }

  // The first rows kept, or null when none were.
  const FirstRows *Rows() const { return rows_ ? &*rows_ : nullptr; }
  void KeepRows(FirstRows rows) { rows_ = std::move(rows); }

private:
  QString path_;
  QByteArray head_;
  bool headRead_ = false;
  bool headReadable_ = false;
  std::optional<FirstRows> rows_;
};

// The bytes of a statement file from its start, chunk by chunk: the head
// read when the statement was opened comes first, and the file is opened
// again only for what follows it.
class StatementChunks {
public:
  explicit StatementChunks(StatementFile &file);

  // Opens the file unless its head was read; false when it cannot be
  // opened.
  bool Open();
  // The next chunk of at most kStatementHeadBytes, empty at the end of the
  // file; false (and empty) when the file cannot be read.
  bool Next(QByteArray *chunk);

private:
  StatementFile &source_;
  QFile file_;
  bool headGiven_ = false;
};
