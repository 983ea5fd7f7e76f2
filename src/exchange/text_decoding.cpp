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

// Counts the well-formed UTF-8 sequences of three or four bytes (Chinese
// characters among them) and the bytes that start no sequence; a sequence
// cut off at the very end counts as neither.
void CountUtf8(const QByteArray &bytes, int *wide, int *invalid) {
  const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
  const qsizetype n = bytes.size();
  *wide = *invalid = 0;
  qsizetype i = 0;
  while (i < n) {
    const uchar c = p[i];
    int follow = -1;
    if (c < 0x80)
      follow = 0;
    else if (c >= 0xC2 && c <= 0xDF)
      follow = 1;
    else if (c >= 0xE0 && c <= 0xEF)
      follow = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      follow = 3;
    int k = 1;
    while (follow > 0 && k <= follow && i + k < n && (p[i + k] & 0xC0) == 0x80)
      ++k;
    if (follow > 0 && i + k >= n && k <= follow)
      return; // cut off by the end of the sample
    if (follow < 0 || k <= follow) {
      ++*invalid;
      ++i;
      continue;
    }
    *wide += follow >= 2 ? 1 : 0;
    i += follow + 1;
  }
}

} // namespace

QString DetectEncoding(const QByteArray &head) {
  if (StartsWith(head, {0xEF, 0xBB, 0xBF}))
    return QStringLiteral("UTF-8");
  if (StartsWith(head, {0xFF, 0xFE}))
    return QStringLiteral("UTF-16LE");
  if (StartsWith(head, {0xFE, 0xFF}))
    return QStringLiteral("UTF-16BE");
  // Text with many well-formed three-byte UTF-8 characters and a few bytes
  // that are none is broken UTF-8, which reading refuses with its line,
  // rather than GB18030 read as nonsense: in GB18030 text such sequences
  // are rare (about one character in seventy).
  int wide = 0, invalid = 0;
  CountUtf8(head, &wide, &invalid);
  return invalid == 0 || wide > 2 * invalid ? QStringLiteral("UTF-8")
                                            : QStringLiteral("GB18030");
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
