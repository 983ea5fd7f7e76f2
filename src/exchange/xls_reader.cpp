// Reading the rows of a legacy Excel workbook with FreeXL; see xls_reader.h.
#include "exchange/xls_reader.h"

#include "exchange/statement_lines.h"
#include "exchange/statement_messages.h"
#include "exchange/xls_child.h"
#include "exchange/xls_compound_file.h"
#include "exchange/xlsx_cell_text.h"
#include "exchange/xlsx_reader.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>
#include <QTime>

#include <freexl.h>

#include <cmath>

namespace {

// FreeXL reads the whole workbook into memory when it opens it, with a
// cell of 16 bytes for every row and column each sheet claims.
constexpr qint64 kMaxFileBytes = 100 * 1024 * 1024;
constexpr qint64 kMaxCells = 4 * 1024 * 1024;
static_assert(kMaxXlsColumns <= kMaxCsvFields);

QString DamagedRow(int row, const QString &path) {
  return QStringLiteral("XLS 文件第%1行已损坏：%2").arg(row).arg(path);
}

// The day FreeXL means by year-month-day. It counts days with a leap year
// every fourth year, as the spreadsheets do up to 2100-02-28 (with their
// 1900-02-29 that never was, read as 1900-02-28 as the XLSX reader does);
// a later date it names is the same count of days after 1900-03-01 in the
// real calendar.
QDate FreexlDay(int year, int month, int day) {
  if (year == 1900 && month == 2 && day == 29)
    return QDate(1900, 2, 28);
  const QDate named(year, month, day);
  if (named.isValid() && named < QDate(2100, 3, 1))
    return named;
  if (month < 1 || month > 12 || day < 1 || day > 31)
    return QDate();
  // Years that start on March 1st, so that a leap day ends its year.
  const int y = month <= 2 ? year - 1 : year;
  const int m = month <= 2 ? month + 12 : month;
  const qint64 days = 365LL * (y - 1900) + y / 4 - 1900 / 4 +
                      (153 * (m - 3) + 2) / 5 + (day - 1);
  return QDate(1900, 3, 1).addDays(days);
}

// A FreeXL date, date and time or time ("yyyy-mm-dd", "yyyy-mm-dd
// hh:mm:ss", "hh:mm:ss") as "yyyy-MM-dd HH:mm:ss"; false when it is none.
bool DateText(const QByteArray &freexlText, QString *text) {
  static const QRegularExpression form(QStringLiteral(
      R"(^(?:(\d{4})-(\d{2})-(\d{2}))?(?: ?(\d{2}):(\d{2}):(\d{2}))?$)"));
  const QRegularExpressionMatch match =
      form.match(QString::fromLatin1(freexlText));
  if (!match.hasMatch() || match.capturedLength(0) == 0)
    return false;
  QDate day(1899, 12, 30); // the zero day of a time alone
  if (match.hasCaptured(1))
    day = FreexlDay(match.captured(1).toInt(), match.captured(2).toInt(),
                    match.captured(3).toInt());
  if (!day.isValid())
    return false;
  // FreeXL rounds to whole seconds and may write "24:00:00".
  const int seconds = match.captured(4).toInt() * 3600 +
                      match.captured(5).toInt() * 60 +
                      match.captured(6).toInt();
  const QDate date = day.addDays(seconds / 86400);
  if (date.year() > 9999)
    return false;
  *text =
      date.toString(QStringLiteral("yyyy-MM-dd ")) +
      QTime(0, 0).addSecs(seconds % 86400).toString(QStringLiteral("HH:mm:ss"));
  return true;
}

// The text of a cell as the sheet shows it; false when it is damaged.
bool CellText(const XlsCellValue &cell, QString *text) {
  switch (cell.type) {
  case FREEXL_CELL_INT:
    *text = QString::number(cell.integer);
    return true;
  case FREEXL_CELL_DOUBLE:
    if (!std::isfinite(cell.number))
      return false;
    *text = XlsxNumberText(cell.number);
    return true;
  case FREEXL_CELL_TEXT:
  case FREEXL_CELL_SST_TEXT:
    *text = QString::fromUtf8(cell.text);
    return true;
  case FREEXL_CELL_DATE:
  case FREEXL_CELL_DATETIME:
  case FREEXL_CELL_TIME:
    return DateText(cell.text, text);
  default:
    return false;
  }
}

QString TextTooLong(const QString &path) {
  return QStringLiteral("XLS 文件中有超过 %1 个字符的单元格，不是可识别的"
                        "对账单：%2")
      .arg(kMaxXlsxCellText)
      .arg(path);
}

// What is checked before FreeXL sees the file: that it is one, and what
// its sheets would make FreeXL allocate.
bool CheckBeforeReading(const QString &path, QString *error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *error = CannotReadMessage(path);
    return false;
  }
  if (file.size() > kMaxFileBytes) {
    *error = QStringLiteral("XLS 文件超过 %1 MB，不是可识别的对账单：%2")
                 .arg(kMaxFileBytes / (1024 * 1024))
                 .arg(path);
    return false;
  }
  if (!LooksLikeXls(file.read(8))) {
    *error = NotAStatementMessage();
    return false;
  }
  file.close();
  qint64 cells = 0;
  const XlsLook look = XlsClaimedCells(path, &cells);
  if (look != XlsLook::Read) {
    *error = look == XlsLook::NoWorkbook ? NotAStatementMessage()
                                         : XlsDamagedMessage(path);
    return false;
  }
  if (cells > kMaxCells) {
    *error = QStringLiteral("XLS 文件的工作表超过 %1 个单元格，不是可识别的"
                            "对账单：%2")
                 .arg(kMaxCells)
                 .arg(path);
    return false;
  }
  return true;
}

QString FailureMessage(XlsChild::Failure failure, const QString &path) {
  switch (failure) {
  case XlsChild::Failure::NotAWorkbook:
    return NotAStatementMessage();
  case XlsChild::Failure::Password:
    return QStringLiteral("XLS 文件有密码保护，请先在电子表格程序中取消密码，"
                          "再导入：%1")
        .arg(path);
  case XlsChild::Failure::TextTooLong:
    return TextTooLong(path);
  default:
    return XlsDamagedMessage(path);
  }
}

// Gathers the cells FreeXL sends into rows for onRow.
class RowGatherer {
public:
  RowGatherer(const QString &path,
              const std::function<bool(int, const QStringList &)> &onRow)
      : path_(path), onRow_(onRow) {}

  // False with error when the cell is damaged or no text a statement has;
  // stopped when onRow asked to stop.
  bool Add(const XlsCellValue &cell, unsigned rows, unsigned columns,
           QString *error);
  // Reports the last row.
  void Finish() {
    if (!stopped_)
      Flush();
  }
  bool Stopped() const { return stopped_; }

private:
  void Flush();

  const QString &path_;
  const std::function<bool(int, const QStringList &)> &onRow_;
  qint64 row_ = -1;
  qint64 column_ = -1;
  QStringList cells_;
  bool stopped_ = false;
};

bool RowGatherer::Add(const XlsCellValue &cell, unsigned rows, unsigned columns,
                      QString *error) {
  // Cells come row by row, each row's from left to right.
  const bool inOrder =
      cell.row > row_ || (cell.row == row_ && cell.column > column_);
  if (cell.row >= rows || cell.column >= columns || !inOrder) {
    *error = XlsDamagedMessage(path_);
    return false;
  }
  if (cell.row != row_) {
    Flush();
    if (stopped_)
      return true;
    row_ = cell.row;
  }
  column_ = cell.column;
  QString text;
  if (!CellText(cell, &text)) {
    *error = DamagedRow(int(cell.row) + 1, path_);
    return false;
  }
  if (text.size() > kMaxXlsxCellText) {
    *error = TextTooLong(path_);
    return false;
  }
  if (text.contains(QChar(0))) {
    *error = QStringLiteral("XLS 文件第%1行有空字符（NUL）：%2")
                 .arg(cell.row + 1)
                 .arg(path_);
    return false;
  }
  if (text.isEmpty())
    return true;
  while (cells_.size() < cell.column)
    cells_.append(QString());
  cells_.append(text);
  return true;
}

void RowGatherer::Flush() {
  if (!cells_.isEmpty() && !onRow_(int(row_) + 1, cells_))
    stopped_ = true;
  cells_.clear();
}

} // namespace

bool LooksLikeXls(const QByteArray &head) {
  return head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

QString XlsDamagedMessage(const QString &path) {
  return QStringLiteral("XLS 文件已损坏：%1").arg(path);
}

bool ReadXlsRows(
    const QString &path,
    const std::function<bool(int rowNumber, const QStringList &cells)> &onRow,
    QString *error) {
  if (!CheckBeforeReading(path, error))
    return false;
  XlsChild child;
  if (!child.Start(path)) {
    *error = CannotReadMessage(path);
    return false;
  }
  XlsChild::Event event = child.Next();
  if (event != XlsChild::Event::Dimensions) {
    *error = FailureMessage(child.Why(), path);
    return false;
  }
  RowGatherer rows(path, onRow);
  for (event = child.Next(); event == XlsChild::Event::Cell;
       event = child.Next()) {
    if (!rows.Add(child.Cell(), child.Rows(), child.Columns(), error))
      return false;
    if (rows.Stopped())
      return true;
  }
  if (event != XlsChild::Event::Done) {
    *error = FailureMessage(child.Why(), path);
    return false;
  }
  rows.Finish();
  return true;
}
