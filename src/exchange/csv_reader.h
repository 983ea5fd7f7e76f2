// Reading CSV statements: libcsv (csv_records.h) over text in any of the
// usual encodings (text_decoding.h) and delimiters. The reader takes any
// file no other reader does; one whose start looks binary is no statement.
// The file is read in chunks of 64 KB, never whole into memory; a line of
// more than kMaxCsvFields fields or 256 KB, text that is not valid in its
// encoding and NUL bytes refuse the file.
#pragma once

#include "exchange/statement_reader.h"

#include <QList>
#include <QString>
#include <QStringList>

class CsvReader : public StatementReader {
public:
  StatementKind Kind() const override { return StatementKind::Csv; }
  bool CanRead(const QByteArray &) const override { return true; }
  // The encoding (from the first bytes), the delimiter and the lines above
  // the header (statement_rows.h), from the first 40 lines.
  bool DetectFormat(StatementFile &file, StatementFormat *format,
                    QString *error) const override;
  // The lines of the first kStatementHeadBytes; guessed settings need text
  // that is valid in the encoding guessed.
  QList<QStringList> FirstLines(StatementFile &file, StatementFormat *format,
                                FirstLook look) const override;
  bool ReadLines(StatementFile &file, const StatementFormat &format,
                 QStringList *headers, const LineSink &onLine,
                 QString *error) const override;
};

// The delimiter that splits the sample lines most consistently into more
// than one field: ',' ';' or '\t' (',' when none does).
char DetectDelimiter(const QStringList &sampleLines);

// The first lines of the CSV text head (the start of a file, decoded), each
// split into its fields; a last line perhaps cut off is left out.
QList<QStringList> HeadLines(const QString &head, char delimiter, bool cut);
