// Reading statements through the reader of their format; see
// statement_source.h.
#include "exchange/statement_source.h"

#include "exchange/statement_file.h"
#include "exchange/statement_reader.h"
#include "exchange/statement_readers.h"

bool DetectStatementFormat(const QString &path, StatementFormat *format,
                           QString *error) {
  StatementFile file(path);
  return DetectStatementFormat(file, format, error);
}

bool DetectStatementFormat(StatementFile &file, StatementFormat *format,
                           QString *error) {
  if (!file.ReadHead()) {
    *error = CannotReadMessage(file.Path());
    return false;
  }
  if (file.Head().trimmed().isEmpty()) {
    *error = NotAStatementMessage();
    return false;
  }
  return ReaderFor(file.Head()).DetectFormat(file, format, error);
}

qsizetype ColumnIndex(const QStringList &headers, const QString &name) {
  const QString wanted = name.trimmed();
  if (wanted.isEmpty())
    return -1;
  for (qsizetype i = 0; i < headers.size(); ++i)
    if (headers.at(i).trimmed() == wanted)
      return i;
  return -1;
}

bool ReadStatement(const QString &path, const StatementFormat &format,
                   QStringList *headers, const LineSink &onLine,
                   QString *error) {
  StatementFile file(path);
  return ReadStatement(file, format, headers, onLine, error);
}

bool ReadStatement(StatementFile &file, const StatementFormat &format,
                   QStringList *headers, const LineSink &onLine,
                   QString *error) {
  return ReaderOf(format.kind).ReadLines(file, format, headers, onLine, error);
}

bool ReadStatementLine(const QString &path, const StatementFormat &format,
                       int lineNumber, SourceLine *line, QString *error) {
  QStringList headers;
  bool found = false;
  const bool read = ReadStatement(
      path, format, &headers,
      [&](const SourceLine &each) {
        if (each.lineNumber != lineNumber)
          return each.lineNumber < lineNumber;
        *line = each;
        found = true;
        return false;
      },
      error);
  if (read && !found)
    *error = QStringLiteral("对账单中没有第%1行").arg(lineNumber);
  return read && found;
}
