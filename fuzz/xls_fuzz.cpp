// Feeds arbitrary bytes to the XLS reader as a legacy Excel workbook. Every
// row it reports keeps the bounds of a statement; a refusal must say why.
#include "exchange/statement_source.h"
#include "exchange/xls_reader.h"
#include "exchange/xlsx_reader.h"

#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QString path = WriteFuzzFile("bill.xls", data, size);
  CheckWorkbookRows(ReadXlsRows, path);
  return 0;
}
