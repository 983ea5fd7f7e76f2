// Feeds arbitrary bytes to the XLSX reader. Input that starts with "XML:"
// is made into a workbook first: the rest, split at NUL bytes, gives the
// sheet, the shared texts and the styles, stored in a zip archive with
// their right checksums, so that the XML readers see the bytes as they
// come (libzip refuses a part whose checksum is wrong, and a mutated part
// of a whole archive always is). Any other input is the workbook file
// itself. Every row the reader reports keeps the bounds of a statement; a
// refusal must say why.
#include "exchange/statement_source.h"
#include "exchange/xlsx_reader.h"

#include "fuzz_file.h"

#include <zip.h>

namespace {

// The workbook of the parts text gives, written at path.
void WriteWorkbook(const QString &path, const QByteArray &text) {
  const QList<QByteArray> given = text.split('\0');
  const QByteArray type = "http://schemas.openxmlformats.org/officeDocument/"
                          "2006/relationships/";
  const QByteArray parts[][2] = {
      {"xl/workbook.xml",
       "<workbook xmlns:r=\"r\"><sheets><sheet r:id=\"rId1\"/></sheets>"
       "</workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<Relationships><Relationship Id=\"rId1\" Type=\"" + type +
           "worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship "
           "Id=\"rId2\" Type=\"" + type + "sharedStrings\" "
           "Target=\"sharedStrings.xml\"/><Relationship Id=\"rId3\" Type=\"" +
           type + "styles\" Target=\"styles.xml\"/></Relationships>"},
      {"xl/worksheets/sheet1.xml", given.value(0)},
      {"xl/sharedStrings.xml", given.value(1)},
      {"xl/styles.xml", given.value(2)},
  };
  int code = 0;
  zip_t *archive = zip_open(QFile::encodeName(path).constData(),
                            ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (!archive)
    __builtin_trap();
  for (const auto &[name, bytes] : parts) {
    zip_source_t *source = zip_source_buffer(
        archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
    const zip_int64_t index =
        zip_file_add(archive, name.constData(), source, ZIP_FL_OVERWRITE);
    if (index < 0)
      __builtin_trap();
    zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
  }
  if (zip_close(archive) != 0)
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes = QByteArray::fromRawData(
      reinterpret_cast<const char *>(data), qsizetype(size));
  QString path;
  if (bytes.startsWith("XML:")) {
    path = WriteFuzzFile("parts.xlsx", data, 0);
    WriteWorkbook(path, bytes.mid(4));
  } else {
    path = WriteFuzzFile("bill.xlsx", data, size);
  }
  CheckWorkbookRows(ReadXlsxRows, path);
  return 0;
}
