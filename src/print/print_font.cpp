// The fonts of printed pages; see print_font.h.
#include "print/print_font.h"

#include <QStringList>

QFont PrintFont(int pixelSize, bool bold) {
  QFont font;
  // Latin letters and digits from DejaVu Sans, Chinese from Noto Sans CJK
  // (both from scripts/install-deps). The Latin glyphs Noto CJK shapes for
  // a run of Latin text are not in its character map, so Qt's PDF writer
  // could not give them their characters back: the text would not be
  // searchable.
  font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("Sans Serif")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}
