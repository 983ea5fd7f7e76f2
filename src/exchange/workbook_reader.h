// What the readers of workbooks (XLSX, legacy Excel) share: the cells of
// the first sheet's rows become a statement's lines as a CSV's lines do,
// the header is found among the first 40 rows, and a bill is recognised by
// its first kFirstRows rows. While a statement is opened those first rows
// are read once (statement_file.h) and serve the recognition, the head, the
// header and the sample; the workbook is read again only for a sample that
// runs past them.
#pragma once

#include "exchange/statement_reader.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct FirstRows;

// The rows a bill's head and header may take.
inline constexpr int kFirstRows = 60;

// Told the 1-based number and the cells of each row in order; false stops
// the reading.
using RowSink = std::function<bool(int rowNumber, const QStringList &cells)>;

class WorkbookReader : public StatementReader {
public:
  bool DetectFormat(StatementFile &file, StatementFormat *format,
                    QString *error) const override;
  QList<QStringList> FirstLines(StatementFile &file, StatementFormat *format,
                                FirstLook look) const override;
  bool ReadLines(StatementFile &file, const StatementFormat &format,
                 QStringList *headers, const LineSink &onLine,
                 QString *error) const override;

  // Calls onRow with each row of the first sheet of the workbook at path,
  // in order, until it returns false; false with a message for the user
  // when the workbook cannot be read.
  virtual bool ReadRows(const QString &path, const RowSink &onRow,
                        QString *error) const = 0;

  // The first rows of file's sheet up to row count (at most kFirstRows),
  // each as its cells; a row the sheet does not hold is an empty line.
  // False with error when the workbook cannot be read that far (the rows
  // read before are given all the same).
  bool HeadRows(StatementFile &file, int count, QList<QStringList> *lines,
                QString *error) const;

private:
  // The first rows of file, read once.
  const FirstRows &Kept(StatementFile &file) const;
  // Calls onRow with the rows of file from the first: those kept, then
  // those after them read from the workbook when the rows were kept
  // before its end.
  bool Rows(StatementFile &file, const RowSink &onRow, QString *error) const;
};
