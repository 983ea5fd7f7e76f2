// Mending the text layer of the PDF files Qt writes. Qt's PDF writer names
// the character of each glyph by the lowest code point that the font maps
// to it; Noto Sans CJK gives the Kangxi and CJK radicals the glyphs of the
// ideographs, so 日, 月, 金, 页 … would be copied and searched as the
// radicals ⽇, ⽉, ⾦, ⻚. The mending names those glyphs by their ideograph
// again, in place: the text maps have fixed-width entries, so no byte
// moves.
#pragma once

#include <QString>

// Mends the PDF at path; false when it cannot be read or written.
bool MendPdfTextLayer(const QString &path);
