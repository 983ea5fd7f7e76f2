// The texts of XLSX cells as a spreadsheet shows them to the import: plain
// numbers without exponents, dates from their day counts, the columns of
// cell references and which number formats are dates. Used by
// xlsx_reader.cpp; no zip or XML here.
#pragma once

#include <QString>

// The shortest text that reads back as value, a finite number: "12.5",
// "1000000", "-0.1"; only very large or very small numbers get an exponent
// ("1e+21").
QString XlsxNumberText(double value);

// The day count of a date cell as "yyyy-MM-dd HH:mm:ss", counted from
// 1900-01-01 (day 1, with the leap day 1900-02-29 that never was, as the
// spreadsheets count) or, with date1904, from 1904-01-01 (day 0). A count
// below 1 is a time of day alone, on 1899-12-30. False for a negative count
// or one beyond the year 9999.
bool XlsxDateText(double days, bool date1904, QString *text);

// Whether the number format numFmtId, with its code when the workbook
// defines one, shows a date or a time: the built-in formats 14-22 and
// 45-47, the Chinese built-in date formats 27-36 and 50-58, and codes with
// y, m, d, h or s outside quotes and brackets.
bool IsXlsxDateFormat(int numFmtId, const QString &code);

// The 0-based column of a cell reference ("A1" is 0, "AB7" is 27): -1 when
// it starts with no column letters, limit when the column is limit or
// beyond.
int XlsxColumnOf(QStringView reference, int limit);

// Text with its "_xHHHH_" escapes (characters XML cannot hold, such as a
// carriage return) replaced by their characters.
QString XlsxUnescape(const QString &text);
