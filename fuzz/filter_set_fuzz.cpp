// Feeds arbitrary bytes to the reader of saved filter set streams. Whatever
// it accepts must survive a write and a second read unchanged, and writing
// that again must give the same bytes.
#include "groups/filter_set.h"
#include "groups/filter_set_stream.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // No copy: a read past the input is caught by the address sanitizer.
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                              qsizetype(size));
  FilterSet set;
  if (!ReadFilterSetStream(bytes, set))
    return 0;

  const QByteArray written = WriteFilterSetStream(set);
  FilterSet again;
  if (!ReadFilterSetStream(written, again))
    __builtin_trap();
  if (!(again.title == set.title) || !(again.conditions == set.conditions))
    __builtin_trap();
  if (WriteFilterSetStream(again) != written)
    __builtin_trap();
  return 0;
}
