// Feeds arbitrary bytes to the OFX reader as a statement file. Every
// transaction it reports has the fields of OfxColumns(); a refusal must say
// why.
#include "exchange/ofx_reader.h"

#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QString path = WriteFuzzFile("statement.ofx", data, size);
  const qsizetype columns = OfxColumns().size();
  QString error;
  const bool read = ReadOfxTransactions(
      path,
      [&](const SourceLine &line) {
        if (line.fields.size() != columns)
          __builtin_trap();
        return true;
      },
      &error);
  if (read != error.isEmpty())
    __builtin_trap();
  return 0;
}
