// Feeds arbitrary bytes to the statement readers as the import opens a
// file: bill recognition, then format detection, then every line. Whatever
// the input, each step ends with a result or a message; a refusal must say
// why.
#include "exchange/bill_recognition.h"
#include "exchange/statement_source.h"

#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QString path = WriteFuzzFile("statement.csv", data, size);
  StatementFormat format;
  RecognisedBill bill;
  QString error;
  if (RecogniseBill(path, &bill))
    format = bill.format;
  else if (!DetectStatementFormat(path, &format, &error)) {
    if (error.isEmpty())
      __builtin_trap();
    return 0;
  }
  QStringList headers;
  int lines = 0;
  if (!ReadStatement(
          path, format, &headers,
          [&](const SourceLine &line) {
            if (line.fields.size() > kMaxCsvFields)
              __builtin_trap();
            ++lines;
            return true;
          },
          &error) &&
      error.isEmpty())
    __builtin_trap();
  return 0;
}
