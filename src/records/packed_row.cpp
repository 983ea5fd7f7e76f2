// Packing a record row into its texts, apart from its shape.
//
// The bytes: the group, the grid number and the grid row, whether the
// texts are as stored, then per item its text with two marks: null, and
// applyingDefault (packed_numbers.h).
#include "records/packed_row.h"

#include "records/packed_numbers.h"

namespace {

// A signed number (grid row -1) with its sign in the lowest bit.
quint32 Signed(int n) { return (quint32(n) << 1) ^ quint32(n >> 31); }
int FromSigned(quint32 n) { return int(n >> 1) ^ -int(n & 1); }

} // namespace

bool SameLayout(const CRowItem &row, const CRowItem &shape) {
  if (row.accountFile != shape.accountFile ||
      row.keyIndex != shape.keyIndex ||
      row.columnCount != shape.columnCount ||
      row.items.size() != shape.items.size())
    return false;
  for (qsizetype i = 0; i < row.items.size(); ++i) {
    const FieldValueItem &a = row.items[i];
    const FieldValueItem &b = shape.items[i];
    if (a.type != b.type || a.fieldName != b.fieldName ||
        a.defaultFormula != b.defaultFormula)
      return false;
  }
  return true;
}

namespace {

RowShape MakeShape(const CRowItem &row) {
  auto shape = std::make_shared<CRowItem>(row);
  for (FieldValueItem &item : shape->items) {
    item.text = QString();
    item.applyingDefault = false;
  }
  shape->groupId = 0;
  shape->gridNumber = 0;
  shape->gridRow = -1;
  shape->textsAsStored = false;
  return shape;
}

} // namespace

RowShape ShapeFor(const CRowItem &row, const RowShape &shape) {
  if (shape && SameLayout(row, *shape))
    return shape;
  return MakeShape(row);
}

QByteArray PackRow(const CRowItem &row) {
  // One scratch buffer per thread keeps its capacity: the packed bytes
  // then take one allocation of their exact size.
  thread_local std::string scratch;
  scratch.clear();
  AppendPackedNumber(scratch, Signed(row.groupId));
  AppendPackedNumber(scratch, Signed(row.gridNumber));
  AppendPackedNumber(scratch, Signed(row.gridRow));
  scratch.push_back(row.textsAsStored ? 1 : 0);
  for (const FieldValueItem &item : row.items)
    AppendPackedText(scratch, item.text,
                     (item.text.isNull() ? 2u : 0u) |
                         (item.applyingDefault ? 1u : 0u));
  return QByteArray(scratch.data(), qsizetype(scratch.size()));
}

CRowItem UnpackRow(const CRowItem &shape, const QByteArray &bytes) {
  CRowItem row = shape;
  if (bytes.isEmpty())
    return row;
  const char *p = bytes.constData();
  row.groupId = FromSigned(ReadPackedNumber(p));
  row.gridNumber = FromSigned(ReadPackedNumber(p));
  row.gridRow = FromSigned(ReadPackedNumber(p));
  row.textsAsStored = *p++ != 0;
  for (FieldValueItem &item : row.items) {
    const quint32 head = ReadPackedNumber(p);
    const qsizetype size = qsizetype(head >> 2);
    item.applyingDefault = (head & 1u) != 0;
    if (!(head & 2u))
      item.text = QString::fromUtf8(p, size);
    p += size;
  }
  return row;
}
