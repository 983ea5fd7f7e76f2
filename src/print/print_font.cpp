// The fonts of printed pages; see print_font.h.
#include "print/print_font.h"

#include <QStringList>

QFont PrintFont(int pixelSize, bool bold) {
  QFont font;
  // Noto Sans CJK where it is installed (scripts/install-deps); the
  // desktop's sans-serif fonts otherwise.
  font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK"),
                    QStringLiteral("Sans Serif")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}
