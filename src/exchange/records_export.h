// Exporting records to a spreadsheet: CSV (UTF-8 with a byte order mark,
// so spreadsheet programs read the Chinese) or XLSX (written by
// libxlsxwriter, numbers as numbers and dates as dates). The header row
// holds the captions of the file's columns; the records come in the order
// the records page shows them: scope by scope, each by key.
#pragma once

#include "exchange/statement_import.h"

#include <QString>
#include <QStringList>

class AccountFile;

enum class ExportFormat { Csv, Xlsx };

// XLSX for a path ending in ".xlsx" (any case), else CSV.
ExportFormat ExportFormatOf(const QString &path);

// The query of one scope: "Select * From Users Where <where> Order By
// [key]", or without the condition when where is empty.
QString ExportQuery(const AccountFile &file, const QString &where);

// Why more records, after written ones, do not fit an XLSX sheet (its
// 1,048,575 rows below the header); empty when they do. An export that
// would not fit is refused before its records are written, never cut.
QString XlsxRowsProblem(int written, int more, const QString &path);

// Writes the records of every WHERE text of scopes in turn to path: one
// empty text is all records, no text at all none (a records page with no
// active group shows nothing, and its export holds the header alone). The file appears only when everything was written:
// a failure or a cancel leaves no file, nor a part of one, behind. count
// gets the number of records written; error a message for the user.
bool ExportRecords(AccountFile &file, const QStringList &scopes,
                   const QString &path, const ExchangeProgress &progress,
                   int *count, bool *cancelled, QString *error);
