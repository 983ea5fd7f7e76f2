// Packing a list of texts into one byte array and reading it back.
#include "records/packed_texts.h"

#include "records/packed_numbers.h"

namespace {

QString ReadText(const char *&p) {
  const quint32 head = ReadPackedNumber(p);
  const qsizetype size = qsizetype(head >> 2);
  const char *text = p;
  p += size;
  if (head & 2u)
    return QString();
  return QString::fromUtf8(text, size);
}

void SkipText(const char *&p) { p += qsizetype(ReadPackedNumber(p) >> 2); }

} // namespace

PackedTexts &PackedTexts::operator=(const QStringList &texts) {
  if (texts.isEmpty()) {
    bytes_.clear();
    return *this;
  }
  // One scratch buffer per thread keeps its capacity: the bytes then take
  // one allocation of their exact size.
  thread_local std::string scratch;
  scratch.clear();
  AppendPackedNumber(scratch, quint32(texts.size()));
  for (const QString &text : texts)
    AppendPackedText(scratch, text, text.isNull() ? 2u : 0u);
  bytes_ = QByteArray(scratch.data(), qsizetype(scratch.size()));
  return *this;
}

QStringList PackedTexts::List() const {
  QStringList texts;
  if (bytes_.isEmpty())
    return texts;
  const char *p = bytes_.constData();
  const qsizetype count = qsizetype(ReadPackedNumber(p));
  texts.reserve(count);
  for (qsizetype i = 0; i < count; ++i)
    texts.append(ReadText(p));
  return texts;
}

qsizetype PackedTexts::size() const {
  if (bytes_.isEmpty())
    return 0;
  const char *p = bytes_.constData();
  return qsizetype(ReadPackedNumber(p));
}

QString PackedTexts::at(qsizetype i) const {
  Q_ASSERT(i >= 0 && i < size());
  const char *p = bytes_.constData();
  ReadPackedNumber(p);
  for (qsizetype skipped = 0; skipped < i; ++skipped)
    SkipText(p);
  return ReadText(p);
}

QString PackedTexts::value(qsizetype i) const {
  return i >= 0 && i < size() ? at(i) : QString();
}

void PackedTexts::Set(qsizetype i, const QString &text) {
  QStringList texts = List();
  texts[i] = text;
  *this = texts;
}
