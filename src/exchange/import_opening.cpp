// Opening a statement and choosing its mapping; see import_opening.h.
#include "exchange/import_opening.h"

#include "document/account_file.h"
#include "exchange/bill_values.h"
#include "exchange/statement_file.h"
#include "exchange/statement_source.h"
#include "exchange/statement_values.h"
#include "model/column_list.h"
#include "model/field_type.h"
#include "records/record_cell_text.h"

namespace {

// Reads statement's header and sample lines from file with format.
bool ReadSampleOf(StatementFile &file, const StatementFormat &format,
                  OpenedStatement *statement, QString *error) {
  std::vector<SourceLine> &sample = statement->sample;
  sample.clear();
  return ReadStatement(
      file, format, &statement->headers,
      [&](const SourceLine &line) {
        if (line.footer)
          return false;
        if (line.problem.isEmpty())
          sample.push_back(line);
        return sample.size() < size_t(kSampleLines);
      },
      error);
}

// Whether every source column mapping names was read.
bool MappedColumnsRead(const ImportMapping &mapping,
                       const QStringList &headers) {
  QStringList sources{mapping.amountColumn, mapping.debitColumn,
                      mapping.creditColumn};
  for (const auto &[field, source] : mapping.fields)
    sources.append(source);
  for (const QString &source : sources)
    if (!source.isEmpty() && !headers.contains(source))
      return false;
  return true;
}

// Takes the mapping saved for the layout when the file read with its
// settings has the columns it maps; otherwise leaves the mapping and the
// lines read with format.
bool LoadFittingMapping(AccountFile &account, StatementFile &file,
                        const StatementFormat &format,
                        OpenedStatement *statement, ImportMapping *mapping) {
  CDBVisiter *session = account.Session();
  if (!session)
    return false;
  // A layout seen before brings back its mapping and its reading settings.
  // Older builds saved mappings under the column names alone; such a
  // mapping applies only when the file read with its settings has every
  // column it maps, as the file it was made for has.
  const ImportMapping read = *mapping;
  bool tried = false;
  for (const QString &signature :
       {statement->signature,
        StatementSignature(StatementFormat(), statement->headers)}) {
    ImportMapping saved;
    saved.format = format;
    if (!LoadImportMapping(*session, signature, &saved))
      continue;
    *mapping = saved;
    tried = true;
    QString ignored;
    if (ReadSampleOf(file, mapping->format, statement, &ignored) &&
        statement->headers.size() > 1 &&
        MappedColumnsRead(*mapping, statement->headers))
      return true;
  }
  // Back to the lines as the file was first read.
  *mapping = read;
  QString ignored;
  if (tried)
    ReadSampleOf(file, mapping->format, statement, &ignored);
  return false;
}

// Recognises a known bill in file, else detects how the statement reads;
// the format and what the opening found of the layout and the head.
bool RecogniseOrDetect(StatementFile &file, OpenedStatement *statement,
                       StatementFormat *format, QString *error) {
  RecognisedBill bill;
  if (RecogniseBill(file, &bill)) {
    *format = bill.format;
    statement->layout = *bill.layout;
    statement->head = bill.head;
    return true;
  }
  if (!DetectStatementFormat(file, format, error))
    return false;
  statement->head = ReadStatementHead(file, *format);
  return true;
}

// The mapping of a known bill: a card the head does not name may be named
// on every line.
ImportMapping MappingOfBill(const ColumnList &columns,
                            const StatementFormat &format,
                            const OpenedStatement &statement) {
  const BillLayout &layout = *statement.layout;
  QString card = statement.head.card;
  const qsizetype cardIndex =
      ColumnIndex(statement.headers, layout.HeaderOf(BillRole::Card));
  if (card.isEmpty() && cardIndex >= 0 && !statement.sample.empty())
    card = ValueOrEmpty(statement.sample.front().fields.value(cardIndex))
               .right(4);
  return BillImportMapping(layout, columns, format, statement.headers,
                           statement.sample, card);
}

} // namespace

bool OpenStatement(AccountFile &account, const QString &path,
                   OpenedStatement *statement, ImportMapping *mapping,
                   bool *saved, QString *error) {
  statement->path = path;
  statement->layout.reset();
  statement->head = BillHead();
  StatementFile file(path);
  StatementFormat format;
  if (!RecogniseOrDetect(file, statement, &format, error))
    return false;
  statement->periodEnd = PeriodEndOf(statement->head);
  mapping->format = format;
  if (!ReadSampleOf(file, format, statement, error))
    return false;
  if (format.kind != StatementKind::Ofx && statement->headers.size() < 2) {
    *error = NotAStatementMessage();
    return false;
  }
  statement->signature = StatementSignature(format, statement->headers);
  *saved = LoadFittingMapping(account, file, format, statement, mapping);
  if (*saved)
    return true;
  const ColumnList &columns = account.Columns();
  *mapping = statement->layout
                 ? MappingOfBill(columns, format, *statement)
                 : GuessImportMapping(columns, format, statement->headers,
                                      statement->sample,
                                      statement->head.text);
  return true;
}

bool ReadSample(const StatementFormat &format, OpenedStatement *statement,
                QString *error) {
  StatementFile file(statement->path);
  return ReadSampleOf(file, format, statement, error);
}

QStringList DateFormChoices(const ColumnList &columns,
                            const ImportMapping &mapping,
                            const OpenedStatement &statement) {
  QStringList dates;
  for (const auto &[field, source] : mapping.fields) {
    const int position = columns.PositionOf(field);
    const qsizetype index = statement.headers.indexOf(source);
    if (position < 0 || index < 0 ||
        !IsDatePickerType(columns.At(position).type))
      continue;
    for (const SourceLine &line : statement.sample)
      dates.append(line.fields.value(index));
  }
  return DetectDateForms(dates);
}

void DetectValueForms(const ColumnList &columns,
                      const OpenedStatement &statement,
                      ImportMapping *mapping) {
  const QStringList forms = DateFormChoices(columns, *mapping, statement);
  if (!forms.isEmpty() && !forms.contains(mapping->dateForm))
    mapping->dateForm = forms.first();
  QStringList amounts;
  auto add = [&](const QString &source) {
    const qsizetype index = statement.headers.indexOf(source);
    if (index < 0)
      return;
    for (const SourceLine &line : statement.sample)
      amounts.append(line.fields.value(index));
  };
  for (const auto &[field, source] : mapping->fields) {
    const int position = columns.PositionOf(field);
    const int type = position >= 0 ? columns.At(position).type : -1;
    if (type == FT_INTEGER || type == FT_FLOAT)
      add(source);
  }
  add(mapping->amountColumn);
  add(mapping->debitColumn);
  add(mapping->creditColumn);
  mapping->decimalComma = DetectDecimalComma(amounts);
}
