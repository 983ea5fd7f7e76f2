// FreeXL run in a child process of its own. FreeXL trusts the lengths a
// damaged .xls file gives (a string of the shared string table longer than
// its record makes it read past its buffer), so a hostile file could crash
// the program or corrupt its memory. The child opens the workbook, selects
// the first worksheet and sends its dimensions and every non-empty cell,
// as FreeXL reports them, through a pipe; it is given a minute. A child
// that dies or stops sending before the end leaves the file damaged. The
// child runs FreeXL and write() only: nothing of Qt.
#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// The rows and columns a BIFF8 worksheet can have; a file that claims more
// is damaged or made to exhaust memory.
inline constexpr unsigned kMaxXlsRows = 65536;
inline constexpr unsigned kMaxXlsColumns = 256;

// One value FreeXL reports: its type (FREEXL_CELL_*) and the value that
// goes with it.
struct XlsCellValue {
  unsigned row = 0;
  unsigned short column = 0;
  unsigned char type = 0;
  int integer = 0;
  double number = 0;
  QByteArray text; // UTF-8, for the text, date and time types
};

class XlsChild {
public:
  enum class Event {
    Dimensions, // rows and columns of the first worksheet are known
    Cell,       // cell holds the next non-empty cell, row by row
    Done,       // every cell was sent
    Failed,     // the child could not read the file: failure says why
  };
  enum class Failure {
    None,
    NotAWorkbook, // no compound file, or no workbook in it
    Password,     // the workbook is encrypted
    TextTooLong,  // a text beyond what a cell holds
    Damaged,      // anything else, the child's death included
  };

  XlsChild() = default;
  ~XlsChild();
  XlsChild(const XlsChild &) = delete;
  XlsChild &operator=(const XlsChild &) = delete;

  // Starts the child on the file at path; false when it cannot be started.
  bool Start(const QString &path);
  Event Next();

  unsigned Rows() const { return rows_; }
  unsigned short Columns() const { return columns_; }
  const XlsCellValue &Cell() const { return cell_; }
  Failure Why() const { return failure_; }

private:
  bool Read(void *bytes, size_t size);
  Event Fail(Failure failure);

  pid_t pid_ = -1;
  int fd_ = -1;
  unsigned rows_ = 0;
  unsigned short columns_ = 0;
  XlsCellValue cell_;
  Failure failure_ = Failure::None;
};
