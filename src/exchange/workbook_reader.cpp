// Reading the first sheet of a workbook as a statement; see
// workbook_reader.h.
#include "exchange/workbook_reader.h"

#include "exchange/row_shaper.h"
#include "exchange/statement_file.h"
#include "exchange/statement_rows.h"

namespace {

// The rows the header is looked for in.
constexpr int kHeaderRows = 40;

} // namespace

const FirstRows &WorkbookReader::Kept(StatementFile &file) const {
  if (file.Rows())
    return *file.Rows();
  FirstRows kept;
  QString error;
  const bool read = ReadRows(
      file.Path(),
      [&](int number, const QStringList &cells) {
        kept.rows.push_back({number, cells});
        return number <= kFirstRows;
      },
      &error);
  if (!read) {
    kept.end = FirstRows::End::Failed;
    kept.error = error;
  } else if (!kept.rows.empty() && kept.rows.back().number > kFirstRows) {
    kept.end = FirstRows::End::Stopped;
  }
  file.KeepRows(std::move(kept));
  return *file.Rows();
}

bool WorkbookReader::Rows(StatementFile &file, const RowSink &onRow,
                          QString *error) const {
  const FirstRows *kept = file.Rows();
  if (!kept)
    return ReadRows(file.Path(), onRow, error);
  int last = 0;
  for (const FirstRows::Row &row : kept->rows) {
    if (!onRow(row.number, row.cells))
      return true;
    last = row.number;
  }
  if (kept->end == FirstRows::End::Failed) {
    *error = kept->error;
    return false;
  }
  if (kept->end == FirstRows::End::Whole)
    return true;
  // The rows after those kept are read from the workbook.
  return ReadRows(
      file.Path(),
      [&](int number, const QStringList &cells) {
        return number <= last || onRow(number, cells);
      },
      error);
}

bool WorkbookReader::HeadRows(StatementFile &file, int count,
                              QList<QStringList> *lines,
                              QString *error) const {
  lines->clear();
  const FirstRows &kept = Kept(file);
  for (const FirstRows::Row &row : kept.rows) {
    if (row.number > count)
      return true;
    while (lines->size() < row.number - 1)
      lines->append(QStringList());
    lines->append(row.cells);
  }
  if (kept.end != FirstRows::End::Failed)
    return true;
  *error = kept.error;
  return false;
}

bool WorkbookReader::DetectFormat(StatementFile &file, StatementFormat *format,
                                  QString *error) const {
  format->kind = Kind();
  QList<QStringList> lines;
  const bool read = HeadRows(file, kHeaderRows, &lines, error);
  format->skipLines = SkipLinesOf(lines, true);
  return read;
}

QList<QStringList> WorkbookReader::FirstLines(StatementFile &file,
                                              StatementFormat *,
                                              FirstLook) const {
  QList<QStringList> lines;
  QString error;
  HeadRows(file, kFirstRows, &lines, &error);
  return lines;
}

bool WorkbookReader::ReadLines(StatementFile &file,
                               const StatementFormat &format,
                               QStringList *headers, const LineSink &onLine,
                               QString *error) const {
  RowShaper shaper(format, headers, onLine);
  return Rows(
      file,
      [&](int row, const QStringList &cells) {
        if (row <= format.skipLines)
          return true;
        QStringList fields = WithoutTrailingEmpty(cells);
        if (fields.isEmpty())
          return true;
        return shaper.Take({row, fields, {}, false});
      },
      error);
}
