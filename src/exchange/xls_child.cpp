// FreeXL in a child process; see xls_child.h.
//
// What the child writes, in the machine's own byte order:
//   'S' rows (32 bits) columns (16 bits)      the first worksheet's size
//   'C' row (32) column (16) type (8) value   a non-empty cell: a 32-bit
//       integer, a double, or a 32-bit length and the bytes of a text
//   'D'                                       the end
//   'F' failure (8)                           why it stopped
#include "exchange/xls_child.h"

#include "exchange/xlsx_reader.h"

#include <QFile>

#include <freexl.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

// Present when a sanitizer is linked in (as in the fuzz targets), else null.
extern "C" void __sanitizer_set_death_callback(void (*callback)(void))
    __attribute__((weak));

namespace {

constexpr unsigned kChildSeconds = 60;
// The bytes of the longest text a cell holds, in UTF-8.
constexpr quint32 kMaxTextBytes = 4 * kMaxXlsxCellText;

bool IsText(unsigned char type) {
  return type == FREEXL_CELL_TEXT || type == FREEXL_CELL_SST_TEXT ||
         type == FREEXL_CELL_DATE || type == FREEXL_CELL_DATETIME ||
         type == FREEXL_CELL_TIME;
}

// The child's side of the pipe, buffered.
class Writer {
public:
  explicit Writer(int fd) : fd_(fd) {}

  template <typename T> void Put(const T &value) { Put(&value, sizeof value); }

  void Put(const void *bytes, size_t size) {
    if (used_ + size > sizeof buffer_)
      Flush();
    if (size > sizeof buffer_) {
      WriteAll(bytes, size);
      return;
    }
    memcpy(buffer_ + used_, bytes, size);
    used_ += size;
  }

  void Flush() {
    WriteAll(buffer_, used_);
    used_ = 0;
  }

  [[noreturn]] void Stop(XlsChild::Failure failure) {
    Put('F');
    Put(quint8(failure));
    Flush();
    _exit(0);
  }

private:
  void WriteAll(const void *bytes, size_t size) {
    const char *p = static_cast<const char *>(bytes);
    while (size > 0) {
      const ssize_t written = write(fd_, p, size);
      if (written < 0 && errno == EINTR)
        continue;
      if (written <= 0)
        _exit(1); // the parent stopped reading
      p += written;
      size -= size_t(written);
    }
  }

  int fd_;
  char buffer_[64 * 1024];
  size_t used_ = 0;
};

void PutCell(Writer &out, unsigned row, unsigned short column,
             const FreeXL_CellValue &cell) {
  out.Put('C');
  out.Put(quint32(row));
  out.Put(quint16(column));
  out.Put(quint8(cell.type));
  if (cell.type == FREEXL_CELL_INT) {
    out.Put(qint32(cell.value.int_value));
  } else if (cell.type == FREEXL_CELL_DOUBLE) {
    out.Put(cell.value.double_value);
  } else {
    const char *text = cell.value.text_value ? cell.value.text_value : "";
    const size_t size = strlen(text);
    if (size > kMaxTextBytes)
      out.Stop(XlsChild::Failure::TextTooLong);
    out.Put(quint32(size));
    out.Put(text, size);
  }
}

[[noreturn]] void RunChild(const char *path, int fd) {
  // The parent's handlers (a fuzzer's among them) are not the child's: a
  // fault ends the child, and its death is what the parent reads as a
  // damaged file, not a crash of the program to report.
  for (const int number :
       {SIGALRM, SIGPIPE, SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT})
    signal(number, SIG_DFL);
  if (__sanitizer_set_death_callback)
    __sanitizer_set_death_callback(nullptr);
  alarm(kChildSeconds);
  Writer out(fd);
  const void *handle = nullptr;
  const int opened = freexl_open(path, &handle);
  if (opened == FREEXL_INVALID_CFBF_HEADER ||
      opened == FREEXL_BIFF_WORKBOOK_NOT_FOUND)
    out.Stop(XlsChild::Failure::NotAWorkbook);
  unsigned password = 0;
  unsigned sheets = 0;
  if (opened != FREEXL_OK ||
      freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &password) != FREEXL_OK ||
      freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK ||
      sheets == 0)
    out.Stop(XlsChild::Failure::Damaged);
  if (password == FREEXL_BIFF_OBFUSCATED)
    out.Stop(XlsChild::Failure::Password);
  unsigned rows = 0;
  unsigned short columns = 0;
  if (freexl_select_active_worksheet(handle, 0) != FREEXL_OK ||
      freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK ||
      rows > kMaxXlsRows || columns > kMaxXlsColumns)
    out.Stop(XlsChild::Failure::Damaged);
  out.Put('S');
  out.Put(quint32(rows));
  out.Put(quint16(columns));
  for (unsigned row = 0; row < rows; ++row) {
    for (unsigned short column = 0; column < columns; ++column) {
      FreeXL_CellValue cell;
      if (freexl_get_cell_value(handle, row, column, &cell) != FREEXL_OK)
        out.Stop(XlsChild::Failure::Damaged);
      if (cell.type != FREEXL_CELL_NULL)
        PutCell(out, row, column, cell);
    }
  }
  out.Put('D');
  out.Flush();
  _exit(0);
}

} // namespace

XlsChild::~XlsChild() {
  if (fd_ >= 0)
    close(fd_);
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
}

bool XlsChild::Start(const QString &path) {
  const QByteArray name = QFile::encodeName(path);
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0)
    return false;
  const pid_t pid = fork();
  if (pid < 0) {
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  if (pid == 0) {
    close(fds[0]);
    RunChild(name.constData(), fds[1]);
  }
  close(fds[1]);
  fd_ = fds[0];
  pid_ = pid;
  return true;
}

bool XlsChild::Read(void *bytes, size_t size) {
  char *p = static_cast<char *>(bytes);
  while (size > 0) {
    const ssize_t got = read(fd_, p, size);
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      return false; // the child ended or died
    p += got;
    size -= size_t(got);
  }
  return true;
}

XlsChild::Event XlsChild::Fail(Failure failure) {
  failure_ = failure;
  return Event::Failed;
}

XlsChild::Event XlsChild::Next() {
  if (failure_ != Failure::None)
    return Event::Failed;
  char kind = 0;
  if (!Read(&kind, 1))
    return Fail(Failure::Damaged);
  if (kind == 'S') {
    quint32 rows = 0;
    quint16 columns = 0;
    if (!Read(&rows, sizeof rows) || !Read(&columns, sizeof columns))
      return Fail(Failure::Damaged);
    rows_ = rows;
    columns_ = columns;
    return Event::Dimensions;
  }
  if (kind == 'D')
    return Event::Done;
  if (kind == 'F') {
    quint8 failure = 0;
    if (!Read(&failure, 1) || failure == quint8(Failure::None) ||
        failure > quint8(Failure::Damaged))
      return Fail(Failure::Damaged);
    return Fail(Failure(failure));
  }
  if (kind != 'C')
    return Fail(Failure::Damaged);
  quint32 row = 0;
  quint16 column = 0;
  quint8 type = 0;
  if (!Read(&row, sizeof row) || !Read(&column, sizeof column) ||
      !Read(&type, 1))
    return Fail(Failure::Damaged);
  cell_.row = row;
  cell_.column = column;
  cell_.type = type;
  cell_.text.clear();
  if (type == FREEXL_CELL_INT)
    return Read(&cell_.integer, sizeof cell_.integer) ? Event::Cell
                                                      : Fail(Failure::Damaged);
  if (type == FREEXL_CELL_DOUBLE)
    return Read(&cell_.number, sizeof cell_.number) ? Event::Cell
                                                    : Fail(Failure::Damaged);
  quint32 size = 0;
  if (!IsText(type) || !Read(&size, sizeof size))
    return Fail(Failure::Damaged);
  if (size > kMaxTextBytes)
    return Fail(Failure::TextTooLong);
  cell_.text.resize(qsizetype(size));
  return Read(cell_.text.data(), size) ? Event::Cell : Fail(Failure::Damaged);
}
