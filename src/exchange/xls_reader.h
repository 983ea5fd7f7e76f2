// Reading the rows of a legacy Excel workbook (.xls, BIFF in an OLE2
// compound file), the form in which some banks (建设银行 among them) still
// send their statements: the cells of the first worksheet as texts, in the
// shape the XLSX reader gives them.
//
// The file is read with FreeXL (Debian's libfreexl-dev), a small, maintained
// C library that reads BIFF2 to BIFF8 workbooks without writing anything.
// It is the only reader of .xls packaged for Debian 12 as a C/C++ library
// (libxls is not packaged; LibreOffice is far too large to link). FreeXL
// reads the whole workbook when it opens it, with a cell for every row and
// column each sheet claims, and turns the cells in a date format into texts
// itself. So the sheets' claims are summed first (xls_compound_file.h) and
// a workbook of more than a few million cells is refused before FreeXL
// opens it. FreeXL then runs in a child process (xls_child.h), as it reads
// past its buffers on some damaged files; what it reports is checked
// (dimensions within what BIFF8 allows, texts within kMaxXlsxCellText
// characters, its dates past 2100-02-28, which it counts with a leap day
// in 2100, set right). XlsReader is the import's reader of .xls statements
// (workbook_reader.h).
#pragma once

#include "exchange/workbook_reader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Whether head, the start of a file, begins as an OLE2 compound file does
// (D0 CF 11 E0 A1 B1 1A E1): an .xls workbook, but also any other document
// of old Microsoft Office.
bool LooksLikeXls(const QByteArray &head);

// "XLS 文件已损坏：<path>"
QString XlsDamagedMessage(const QString &path);

// Calls onRow with the 1-based number and the cells of each row of the
// first worksheet, in order, until it returns false. Rows without a
// non-empty cell are not reported; a row's cells end at its last non-empty
// one. Numbers come as the shortest text that reads back, cells in a date
// format as "yyyy-MM-dd HH:mm:ss" (a time alone on 1899-12-30), texts as
// they are. False with a message for the user in error when the file
// cannot be read: a file that is no OLE2 compound file, or one that holds
// no workbook, is NotAStatementMessage().
bool ReadXlsRows(
    const QString &path,
    const std::function<bool(int rowNumber, const QStringList &cells)> &onRow,
    QString *error);

class XlsReader : public WorkbookReader {
public:
  StatementKind Kind() const override { return StatementKind::Xls; }
  bool CanRead(const QByteArray &head) const override {
    return LooksLikeXls(head);
  }
  bool ReadRows(const QString &path, const RowSink &onRow,
                QString *error) const override {
    return ReadXlsRows(path, onRow, error);
  }
};
