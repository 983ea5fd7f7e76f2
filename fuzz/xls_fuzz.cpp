// Feeds arbitrary bytes to the XLS reader as a legacy Excel workbook. Every
// row it reports keeps the bounds of a statement; a refusal must say why.
#include "exchange/statement_source.h"
#include "exchange/xls_reader.h"
#include "exchange/xlsx_reader.h"

#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QString path = WriteFuzzFile("bill.xls", data, size);
  QString error;
  int previous = 0;
  const bool read = ReadXlsRows(
      path,
      [&](int row, const QStringList &cells) {
        if (row <= previous || cells.size() > kMaxCsvFields)
          __builtin_trap();
        for (const QString &cell : cells)
          if (cell.size() > kMaxXlsxCellText || cell.contains(QChar(0)))
            __builtin_trap();
        previous = row;
        return true;
      },
      &error);
  if (read != error.isEmpty())
    __builtin_trap();
  return 0;
}
