// A row's texts in one block; see compact_texts.h.
#include "widgets/compact_texts.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

size_t BlockBytes(int count, quint32 capacity) {
  return sizeof(quint32) * (2 + size_t(count)) + sizeof(char16_t) * capacity;
}

} // namespace

CompactTexts::~CompactTexts() { std::free(block_); }

CompactTexts::CompactTexts(CompactTexts &&other) noexcept
    : block_(other.block_) {
  other.block_ = nullptr;
}

CompactTexts &CompactTexts::operator=(CompactTexts &&other) noexcept {
  if (this != &other) {
    std::free(block_);
    block_ = other.block_;
    other.block_ = nullptr;
  }
  return *this;
}

char16_t *CompactTexts::Chars() const {
  return reinterpret_cast<char16_t *>(block_ + 2 + Count());
}

QStringView CompactTexts::At(int i) const {
  if (i < 0 || i >= Count())
    return {};
  const quint32 begin = End(i - 1);
  return QStringView(Chars() + begin, qsizetype(End(i) - begin));
}

// Makes a block of count slots and the given character capacity, keeping
// the texts of the slots that remain.
void CompactTexts::Reallocate(int count, quint32 capacity) {
  const int oldCount = Count();
  const int kept = std::min(count, oldCount);
  const quint32 keptLength = kept ? End(kept - 1) : 0;
  capacity = std::max(capacity, keptLength);
  if (count == 0) {
    std::free(block_);
    block_ = nullptr;
    return;
  }
  auto *block =
      static_cast<quint32 *>(std::malloc(BlockBytes(count, capacity)));
  if (!block)
    throw std::bad_alloc();
  block[0] = quint32(count);
  block[1] = capacity;
  for (int i = 0; i < kept; ++i)
    block[2 + i] = block_[2 + i];
  for (int i = kept; i < count; ++i)
    block[2 + i] = keptLength;
  if (keptLength)
    std::memcpy(block + 2 + count, Chars(), keptLength * sizeof(char16_t));
  std::free(block_);
  block_ = block;
}

void CompactTexts::Resize(int count) {
  if (count == Count())
    return;
  Reallocate(count, Capacity());
}

void CompactTexts::Set(int i, QStringView text, int slotsHint) {
  if (i < 0)
    return;
  if (i >= Count()) {
    if (text.isEmpty())
      return;
    const int count = std::max(i + 1, slotsHint);
    Reallocate(count, std::max<quint32>(Capacity(), quint32(count) * 6));
  }
  const quint32 begin = End(i - 1);
  const quint32 oldLength = End(i) - begin;
  const quint32 newLength = quint32(text.size());
  const quint32 total = Length() - oldLength + newLength;
  if (total > Capacity())
    Reallocate(Count(), std::max<quint32>(total, Capacity() * 3 / 2 + 8));
  char16_t *chars = Chars();
  const quint32 tail = Length() - End(i);
  if (newLength != oldLength && tail)
    std::memmove(chars + begin + newLength, chars + begin + oldLength,
                 tail * sizeof(char16_t));
  if (newLength)
    std::memcpy(chars + begin, text.utf16(), newLength * sizeof(char16_t));
  const qint64 delta = qint64(newLength) - qint64(oldLength);
  for (int k = i; k < Count(); ++k)
    block_[2 + k] = quint32(qint64(block_[2 + k]) + delta);
}

void CompactTexts::Assign(const QStringList &texts) {
  quint32 total = 0;
  for (const QString &text : texts)
    total += quint32(text.size());
  std::free(block_);
  block_ = nullptr;
  if (texts.isEmpty())
    return;
  Reallocate(int(texts.size()), total);
  char16_t *chars = Chars();
  quint32 end = 0;
  for (int i = 0; i < texts.size(); ++i) {
    const QString &text = texts.at(i);
    if (!text.isEmpty())
      std::memcpy(chars + end, text.utf16(), text.size() * sizeof(char16_t));
    end += quint32(text.size());
    block_[2 + i] = end;
  }
}

void CompactTexts::Assign(QStringView chars, const std::vector<quint32> &ends) {
  std::free(block_);
  block_ = nullptr;
  if (ends.empty())
    return;
  const quint32 total = ends.back();
  Reallocate(int(ends.size()), total);
  if (total)
    std::memcpy(Chars(), chars.utf16(), total * sizeof(char16_t));
  for (size_t i = 0; i < ends.size(); ++i)
    block_[2 + i] = ends[i];
}

size_t CompactTexts::HeapBytes() const {
  return block_ ? BlockBytes(Count(), Capacity()) : 0;
}
