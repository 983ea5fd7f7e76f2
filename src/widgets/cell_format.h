// What a cell of the cell grid looks like and how it is edited, apart from
// its text: cell kind, mark, read-only state, alignment and colours.
//
// A CellFormat field may be left unset; the grid then takes it from the next
// layer down: the cell itself, its row, its column, the grid's defaults.
// Colours are COLORREF values as the ledger's colour constants are given:
// 0x00BBGGRR, red in the low byte (16767935 is red 191, green 219, blue 255).
#pragma once

#include <QColor>
#include <QtGlobal>

// Cell kinds: how a cell is shown and edited.
enum CellType : qint8 {
  CT_TEXT = 0,     // plain text, edited in a line editor
  CT_DROPLIST = 1, // a drop-down list of the cell's label lines
  CT_DATETIME = 2, // a date picker; the text shows the date part
  CT_CHECKBOX = 3, // a check box; the text is "1" when ticked, else "0"
};

// Alignment of a cell's text; the flags combine one horizontal and one
// vertical choice, as Qt::Alignment does.
using CellAlignment = int;

// A colour as 0x00BBGGRR.
using ColorRef = quint32;

// No colour set: the layer below decides.
inline constexpr ColorRef kNoColor = 0xFFFFFFFFu;

inline constexpr ColorRef MakeColorRef(int red, int green, int blue) {
  return ColorRef(red & 0xFF) | ColorRef(green & 0xFF) << 8 |
         ColorRef(blue & 0xFF) << 16;
}

inline QColor ToQColor(ColorRef color) {
  return QColor(int(color & 0xFF), int(color >> 8 & 0xFF),
                int(color >> 16 & 0xFF));
}

struct CellFormat {
  static constexpr int kUnsetParam = -1;
  static constexpr qint8 kUnset = -1;

  ColorRef backColor = kNoColor;
  ColorRef textColor = kNoColor;
  // The cell's mark (the records grid's 120, 109 and 180); any value >= 0.
  int param = kUnsetParam;
  // A CellType, or kUnset.
  qint8 cellType = kUnset;
  // 1 read-only, 0 editable, kUnset.
  qint8 readOnly = kUnset;
  // Qt::Alignment flags, 0 when unset.
  qint16 alignment = 0;

  bool IsEmpty() const {
    return backColor == kNoColor && textColor == kNoColor &&
           param == kUnsetParam && cellType == kUnset && readOnly == kUnset &&
           alignment == 0;
  }
  // Every field set in above replaces this one's.
  void Overlay(const CellFormat &above);
};
