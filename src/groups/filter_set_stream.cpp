// Writer and reader of the archive stream of a saved filter set.
#include "groups/filter_set_stream.h"

#include "groups/filter_set.h"

#include <QtEndian>

#include <cstring>

namespace {

// The smallest stored condition: marker, enabled, kind, an empty field name
// (one length byte) and three zero counts.
constexpr qsizetype kSmallestCondition = 4 + 4 + 4 + 1 + 4 + 4 + 4;

class StreamWriter {
public:
  void Byte(quint8 value) { bytes_.append(char(value)); }

  void Word(quint16 value) {
    char raw[2];
    qToLittleEndian(value, raw);
    bytes_.append(raw, 2);
  }

  void Int32(qint32 value) { UInt32(quint32(value)); }

  void UInt32(quint32 value) {
    char raw[4];
    qToLittleEndian(value, raw);
    bytes_.append(raw, 4);
  }

  void UInt64(quint64 value) {
    char raw[8];
    qToLittleEndian(value, raw);
    bytes_.append(raw, 8);
  }

  void Double(double value) {
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    UInt64(bits);
  }

  void Text(const QString &text) {
    Byte(0xFF);
    Word(0xFFFE);
    Length(quint64(text.size()));
    for (QChar unit : text)
      Word(unit.unicode());
  }

  const QByteArray &Bytes() const { return bytes_; }

private:
  // The length forms after the tag; 0xFFFE and up need the long forms so
  // that a word of 0xFFFE is never taken for the tag again.
  void Length(quint64 length) {
    if (length < 0xFF) {
      Byte(quint8(length));
      return;
    }
    Byte(0xFF);
    if (length < 0xFFFE) {
      Word(quint16(length));
      return;
    }
    Word(0xFFFF);
    if (length < 0xFFFFFFFFu) {
      UInt32(quint32(length));
      return;
    }
    UInt32(0xFFFFFFFFu);
    UInt64(length);
  }

  QByteArray bytes_;
};

class StreamReader {
public:
  explicit StreamReader(const QByteArray &bytes)
      : data_(reinterpret_cast<const uchar *>(bytes.constData())),
        size_(bytes.size()) {}

  qsizetype Remaining() const { return size_ - pos_; }

  bool Skip(qsizetype count) {
    if (count > Remaining())
      return false;
    pos_ += count;
    return true;
  }

  bool Byte(quint8 &value) {
    if (Remaining() < 1)
      return false;
    value = data_[pos_++];
    return true;
  }

  bool Word(quint16 &value) { return Fixed(value); }
  bool UInt32(quint32 &value) { return Fixed(value); }
  bool UInt64(quint64 &value) { return Fixed(value); }

  bool Int32(qint32 &value) {
    quint32 raw;
    if (!UInt32(raw))
      return false;
    value = qint32(raw);
    return true;
  }

  bool Double(double &value) {
    quint64 bits;
    if (!UInt64(bits))
      return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
  }

  // A count of elements of at least elementSize bytes each; false when it
  // is negative or more than the rest of the stream could hold.
  bool Count(qsizetype elementSize, qint32 &count) {
    return Int32(count) && count >= 0 && count <= Remaining() / elementSize;
  }

  bool Text(QString &text) {
    bool wide = false;
    quint64 length = 0;
    if (!Length(wide, length))
      return false;
    const quint64 unitSize = wide ? 2 : 1;
    if (length > quint64(Remaining()) / unitSize)
      return false;
    const qsizetype count = qsizetype(length);
    const uchar *start = data_ + pos_;
    pos_ += count * qsizetype(unitSize);
    if (!wide) {
      text = QString::fromLatin1(reinterpret_cast<const char *>(start), count);
      return true;
    }
    text.resize(count);
    for (qsizetype i = 0; i < count; ++i)
      text[i] = QChar(qFromLittleEndian<quint16>(start + 2 * i));
    return true;
  }

private:
  template <typename T> bool Fixed(T &value) {
    if (Remaining() < qsizetype(sizeof(T)))
      return false;
    value = qFromLittleEndian<T>(data_ + pos_);
    pos_ += sizeof(T);
    return true;
  }

  // The length of a text: a byte below 0xFF, else a word, where the word
  // 0xFFFE tags a text of UTF-16 units whose length follows in the same
  // forms; a word of 0xFFFF is followed by a 32-bit length, and a 32-bit
  // 0xFFFFFFFF by a 64-bit one.
  bool Length(bool &wide, quint64 &length) {
    quint8 shortLength;
    if (!Byte(shortLength))
      return false;
    if (shortLength < 0xFF) {
      length = shortLength;
      return true;
    }
    quint16 wordLength;
    if (!Word(wordLength))
      return false;
    if (wordLength == 0xFFFE) {
      wide = true;
      if (!Byte(shortLength))
        return false;
      if (shortLength < 0xFF) {
        length = shortLength;
        return true;
      }
      if (!Word(wordLength))
        return false;
    }
    if (wordLength < 0xFFFF) {
      length = wordLength;
      return true;
    }
    quint32 longLength;
    if (!UInt32(longLength))
      return false;
    if (longLength < 0xFFFFFFFFu) {
      length = longLength;
      return true;
    }
    return UInt64(length);
  }

  const uchar *data_;
  qsizetype size_;
  qsizetype pos_ = 0;
};

void WriteCondition(StreamWriter &out, const FilterCondition &condition) {
  out.Int32(1);
  out.Int32(condition.enabled);
  out.Int32(condition.kind);
  out.Text(condition.fieldName);
  out.Int32(qint32(condition.texts.size()));
  for (const QString &text : condition.texts)
    out.Text(text);
  out.Int32(qint32(condition.numbers.size()));
  for (double number : condition.numbers)
    out.Double(number);
  out.Int32(qint32(condition.integers.size()));
  for (qint32 integer : condition.integers)
    out.Int32(integer);
}

bool ReadCondition(StreamReader &in, FilterCondition &condition) {
  qint32 count = 0;
  if (!in.Skip(4) || !in.Int32(condition.enabled) ||
      !in.Int32(condition.kind) || !in.Text(condition.fieldName))
    return false;

  if (!in.Count(1, count))
    return false;
  condition.texts.reserve(count);
  for (qint32 i = 0; i < count; ++i) {
    QString text;
    if (!in.Text(text))
      return false;
    condition.texts.append(text);
  }

  if (!in.Count(8, count))
    return false;
  condition.numbers.resize(count);
  for (double &number : condition.numbers)
    if (!in.Double(number))
      return false;

  if (!in.Count(4, count))
    return false;
  condition.integers.resize(count);
  for (qint32 &integer : condition.integers)
    if (!in.Int32(integer))
      return false;
  return true;
}

} // namespace

QByteArray WriteFilterSetStream(const FilterSet &set) {
  StreamWriter out;
  out.Int32(1);
  out.Text(set.title);
  out.Int32(qint32(set.conditions.size()));
  for (const FilterCondition &condition : set.conditions)
    WriteCondition(out, condition);
  return out.Bytes();
}

bool ReadFilterSetStream(const QByteArray &bytes, FilterSet &set) {
  StreamReader in(bytes);
  QString title;
  qint32 count = 0;
  if (!in.Skip(4) || !in.Text(title) || !in.Count(kSmallestCondition, count))
    return false;

  QList<FilterCondition> conditions;
  conditions.reserve(count);
  for (qint32 i = 0; i < count; ++i) {
    FilterCondition condition;
    if (!ReadCondition(in, condition))
      return false;
    conditions.append(condition);
  }
  set.title = title;
  set.conditions = conditions;
  return true;
}
