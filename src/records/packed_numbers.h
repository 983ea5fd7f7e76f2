// Numbers and texts written into a packed byte string: a number in 7-bit
// groups, lowest first (most take one byte), a text as its UTF-8.
#pragma once

#include <QString>
#include <QtGlobal>

#include <string>

inline void AppendPackedNumber(std::string &out, quint32 n) {
  while (n >= 0x80) {
    out.push_back(char((n & 0x7f) | 0x80));
    n >>= 7;
  }
  out.push_back(char(n));
}

inline quint32 ReadPackedNumber(const char *&p) {
  quint32 n = 0;
  for (int shift = 0;; shift += 7) {
    const auto byte = quint8(*p++);
    n |= quint32(byte & 0x7f) << shift;
    if (!(byte & 0x80))
      return n;
  }
}

// Appends a head, the text's UTF-8 length shifted left by two with marks
// in the two low bits, then the UTF-8.
inline void AppendPackedText(std::string &out, const QString &text,
                             quint32 marks) {
  // Most texts (keys, dates, amounts) are ASCII and need no conversion.
  bool ascii = true;
  for (const QChar c : text)
    ascii = ascii && c.unicode() < 0x80;
  if (ascii) {
    AppendPackedNumber(out, quint32(text.size()) << 2 | marks);
    for (const QChar c : text)
      out.push_back(char(c.unicode()));
    return;
  }
  const QByteArray utf8 = text.toUtf8();
  AppendPackedNumber(out, quint32(utf8.size()) << 2 | marks);
  out.append(utf8.constData(), size_t(utf8.size()));
}
