// Reading the rows of an XLSX workbook, the form in which WeChat Pay and
// some banks send their bills: the cells of the first worksheet as texts.
// The workbook is a zip archive, read with libzip (which checks each
// part's checksum as it inflates), of XML parts read with QXmlStreamReader.
// Every part is inflated and parsed in chunks of 64 KB and the worksheet
// is never held whole; only the shared texts and the styles are kept.
// Damaged and hostile files are refused with a message: a truncated
// archive, a part that inflates beyond its cap (a zip bomb), malformed
// XML, a row of more than kMaxCsvFields cells, a cell of more than
// kMaxXlsxCellText characters, a NUL character. XlsxReader is the import's
// reader of XLSX statements (workbook_reader.h).
#pragma once

#include "exchange/workbook_reader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The most characters a spreadsheet cell holds.
inline constexpr int kMaxXlsxCellText = 32767;

// Whether head, the start of a file, begins as a zip archive does.
bool LooksLikeZip(const QByteArray &head);

// Calls onRow with the 1-based number and the cells of each row of the
// first worksheet, in order, until it returns false. Rows the sheet does not
// hold are not reported; a cell a row does not hold is an empty text in its
// place. Numbers come as the shortest text that reads back, numbers in a
// date format as "yyyy-MM-dd HH:mm:ss", booleans as TRUE or FALSE. False
// with a message for the user in error when the file cannot be read: a
// file that is no zip archive is NotAStatementMessage(), a zip archive
// that holds no workbook is said to be one (bills come in such archives).
bool ReadXlsxRows(
    const QString &path,
    const std::function<bool(int rowNumber, const QStringList &cells)> &onRow,
    QString *error);

class XlsxReader : public WorkbookReader {
public:
  StatementKind Kind() const override { return StatementKind::Xlsx; }
  bool CanRead(const QByteArray &head) const override {
    return LooksLikeZip(head);
  }
  bool ReadRows(const QString &path, const RowSink &onRow,
                QString *error) const override {
    return ReadXlsxRows(path, onRow, error);
  }
};
