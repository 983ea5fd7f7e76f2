// The list of statement readers; see statement_readers.h.
#include "exchange/statement_readers.h"

#include "exchange/csv_reader.h"
#include "exchange/ofx_reader.h"
#include "exchange/xls_reader.h"
#include "exchange/xlsx_reader.h"

const std::vector<const StatementReader *> &StatementReaders() {
  static const OfxReader ofx;
  static const XlsxReader xlsx;
  static const XlsReader xls;
  static const CsvReader csv;
  static const std::vector<const StatementReader *> readers{&ofx, &xlsx, &xls,
                                                            &csv};
  return readers;
}

const StatementReader &ReaderFor(const QByteArray &head) {
  const std::vector<const StatementReader *> &readers = StatementReaders();
  for (const StatementReader *reader : readers)
    if (reader->CanRead(head))
      return *reader;
  return *readers.back();
}

const StatementReader &ReaderOf(StatementKind kind) {
  const std::vector<const StatementReader *> &readers = StatementReaders();
  for (const StatementReader *reader : readers)
    if (reader->Kind() == kind)
      return *reader;
  return *readers.back();
}
