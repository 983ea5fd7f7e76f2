// Mending the text layer of Qt's PDF files; see pdf_text_layer.h.
#include "print/pdf_text_layer.h"

#include "print/print_font.h"

#include <QFile>
#include <QHash>
#include <QRawFont>

namespace {

// Radical code point -> the unified ideograph that shares its glyph in the
// print font's CJK face.
const QHash<char16_t, char16_t> &RadicalIdeographs() {
  static const QHash<char16_t, char16_t> map = [] {
    QHash<char16_t, char16_t> result;
    QFont font = PrintFont();
    font.setFamilies({QStringLiteral("Noto Sans CJK SC")});
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
      return result;
    QString unified;
    for (char16_t c = 0x4E00; c <= 0x9FFF; ++c)
      unified.append(QChar(c));
    const QList<quint32> unifiedGlyphs = raw.glyphIndexesForString(unified);
    QHash<quint32, char16_t> byGlyph;
    for (qsizetype i = 0; i < unifiedGlyphs.size(); ++i)
      if (unifiedGlyphs[i] != 0 && !byGlyph.contains(unifiedGlyphs[i]))
        byGlyph.insert(unifiedGlyphs[i], char16_t(0x4E00 + i));
    QString radicals;
    for (char16_t c = 0x2E80; c <= 0x2FDF; ++c)
      radicals.append(QChar(c));
    const QList<quint32> radicalGlyphs = raw.glyphIndexesForString(radicals);
    for (qsizetype i = 0; i < radicalGlyphs.size(); ++i)
      if (radicalGlyphs[i] != 0 && byGlyph.contains(radicalGlyphs[i]))
        result.insert(char16_t(0x2E80 + i), byGlyph.value(radicalGlyphs[i]));
    return result;
  }();
  return map;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

// Rewrites every "<XXXX>" of a radical between begin and end.
bool MendRange(QByteArray &bytes, qsizetype begin, qsizetype end) {
  bool changed = false;
  for (qsizetype i = begin; i + 5 < end; ++i) {
    if (bytes[i] != '<' || bytes[i + 5] != '>')
      continue;
    int code = 0;
    bool hex = true;
    for (int k = 1; k <= 4 && hex; ++k) {
      const int digit = HexValue(bytes[i + k]);
      hex = digit >= 0;
      code = code * 16 + digit;
    }
    if (!hex)
      continue;
    const auto found = RadicalIdeographs().constFind(char16_t(code));
    if (found == RadicalIdeographs().cend())
      continue;
    const QByteArray text = QByteArray::number(int(*found), 16).toUpper().rightJustified(4, '0');
    bytes.replace(i + 1, 4, text);
    changed = true;
  }
  return changed;
}

} // namespace

bool MendPdfTextLayer(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite))
    return false;
  QByteArray bytes = file.readAll();
  bool changed = false;
  // Only the character maps are touched, never the drawing.
  for (const auto &[open, close] : {std::pair{"beginbfrange", "endbfrange"},
                                    std::pair{"beginbfchar", "endbfchar"}}) {
    for (qsizetype at = bytes.indexOf(open); at >= 0; at = bytes.indexOf(open, at + 1)) {
      const qsizetype end = bytes.indexOf(close, at);
      if (end < 0)
        break;
      changed |= MendRange(bytes, at, end);
    }
  }
  if (!changed)
    return true;
  return file.seek(0) && file.write(bytes) == bytes.size() && file.flush();
}
