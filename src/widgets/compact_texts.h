// The texts of one grid row in a single heap block: the end offset of each
// text followed by all characters, so that a row of ten short texts costs
// one allocation instead of ten strings. A row whose texts are all empty
// costs nothing.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <QtGlobal>

#include <vector>

class CompactTexts {
public:
  CompactTexts() = default;
  ~CompactTexts();
  CompactTexts(const CompactTexts &) = delete;
  CompactTexts &operator=(const CompactTexts &) = delete;
  CompactTexts(CompactTexts &&other) noexcept;
  CompactTexts &operator=(CompactTexts &&other) noexcept;

  // The number of text slots; texts beyond it read as empty.
  int Count() const { return block_ ? int(block_[0]) : 0; }
  // Text i, or an empty view for a slot that does not exist. Valid until
  // the next change.
  QStringView At(int i) const;
  // Sets text i, adding empty slots up to it when needed (at least
  // slotsHint of them, with room for a few characters each, so that filling
  // a row slot by slot allocates about once). Filling the slots in
  // ascending order moves no characters.
  void Set(int i, QStringView text, int slotsHint = 0);
  // Keeps the first count slots (adding empty ones).
  void Resize(int count);
  // Replaces every slot by texts.
  void Assign(const QStringList &texts);
  // Replaces every slot by the texts laid end to end in chars, text i
  // ending at ends[i].
  void Assign(QStringView chars, const std::vector<quint32> &ends);
  // Bytes held on the heap.
  size_t HeapBytes() const;

private:
  // block_[0] = slot count, [1] = character capacity, [2 ..] = end offsets;
  // the characters follow the offsets.
  quint32 *block_ = nullptr;

  quint32 Capacity() const { return block_ ? block_[1] : 0; }
  quint32 End(int i) const { return i < 0 ? 0 : block_[2 + i]; }
  quint32 Length() const { return Count() ? End(Count() - 1) : 0; }
  char16_t *Chars() const;
  void Reallocate(int count, quint32 capacity);
};
