// Where a statement's rows are: which of its first lines is the header
// (the line whose fields name the columns, not a title, an account line or
// a "#" comment above it), and where the rows end (a 合计 or 总计 line,
// dashes, the summary block under the rows of a bill). Works on lines
// already split into fields, so CSV, XLSX and XLS statements are read
// alike.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The fields of a CSV line split at delimiter outside quotes, each without
// its quotes and without blanks and tabs around it. For looking at the
// first lines of a file; the rows themselves are read by libcsv.
QStringList SplitCsvLine(QStringView line, char delimiter);

// fields without the empty ones at its end.
QStringList WithoutTrailingEmpty(QStringList fields);

// The index among lines of the header: the first line of two or more
// names (no field a number or a date, not a "#" line) that is followed by
// a line of data (one with a date or an amount among two or more filled
// fields). -1 when no line is.
int FindHeaderLine(const QList<QStringList> &lines);

// The lines above the header among lines (the first lines of a statement,
// each split into its fields): the line that names the columns, else the
// first line of the most common width above one (a bank's title and account
// lines have fewer fields than the lines below them) or, with orMore, of at
// least that width.
int SkipLinesOf(const QList<QStringList> &lines, bool orMore);

// Whether fields (a line below the header of headerColumns columns) ends
// the rows: it starts with 合计, 总计, 小计, 共…笔, dashes or "#", with one of
// rowsEnd, or holds a single filled field where the header has four or
// more columns (a line of the summary under the rows).
bool IsFooterLine(const QStringList &fields, qsizetype headerColumns,
                  const QStringList &rowsEnd);

// Whether text reads as a date (with or without a time), a time of day or
// an amount: a field of data, not a name.
bool LooksLikeValue(const QString &text);
