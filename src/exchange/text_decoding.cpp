// Detecting a statement's encoding; see text_decoding.h.
#include "exchange/text_decoding.h"

#include <QStringDecoder>

QStringList StatementEncodings() {
  return {QStringLiteral("UTF-8"), QStringLiteral("UTF-16LE"),
          QStringLiteral("UTF-16BE"), QStringLiteral("GB18030"),
          QStringLiteral("GBK")};
}

namespace {

bool StartsWith(const QByteArray &bytes, std::initializer_list<uchar> mark) {
  if (bytes.size() < qsizetype(mark.size()))
    return false;
  qsizetype i = 0;
  for (const uchar byte : mark)
    if (uchar(bytes[i++]) != byte)
      return false;
  return true;
}

// Whether bytes are well-formed UTF-8, allowing a sequence cut off at the
// very end.
bool IsUtf8(const QByteArray &bytes) {
  const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
  const qsizetype n = bytes.size();
  qsizetype i = 0;
  while (i < n) {
    const uchar c = p[i];
    int follow = 0;
    if (c < 0x80)
      follow = 0;
    else if (c >= 0xC2 && c <= 0xDF)
      follow = 1;
    else if (c >= 0xE0 && c <= 0xEF)
      follow = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      follow = 3;
    else
      return false;
    for (int k = 1; k <= follow; ++k) {
      if (i + k >= n)
        return true; // cut off by the end of the sample
      if ((p[i + k] & 0xC0) != 0x80)
        return false;
    }
    i += follow + 1;
  }
  return true;
}

} // namespace

QString DetectEncoding(const QByteArray &head) {
  if (StartsWith(head, {0xEF, 0xBB, 0xBF}))
    return QStringLiteral("UTF-8");
  if (StartsWith(head, {0xFF, 0xFE}))
    return QStringLiteral("UTF-16LE");
  if (StartsWith(head, {0xFE, 0xFF}))
    return QStringLiteral("UTF-16BE");
  return IsUtf8(head) ? QStringLiteral("UTF-8") : QStringLiteral("GB18030");
}

int ByteOrderMarkLength(const QByteArray &bytes, const QString &encoding) {
  if (encoding == QLatin1String("UTF-8") && StartsWith(bytes, {0xEF, 0xBB, 0xBF}))
    return 3;
  if (encoding == QLatin1String("UTF-16LE") && StartsWith(bytes, {0xFF, 0xFE}))
    return 2;
  if (encoding == QLatin1String("UTF-16BE") && StartsWith(bytes, {0xFE, 0xFF}))
    return 2;
  return 0;
}

bool IsKnownEncoding(const QString &encoding) {
  return QStringDecoder(encoding.toLatin1().constData()).isValid();
}
