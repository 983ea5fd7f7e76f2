// The frame of every printed page: a header with the file name and the
// main show message, a footer with "页 X / Y" and the print date, and the
// body between them where the print job paints.
#pragma once

#include <QDate>
#include <QRectF>
#include <QString>

class QPainter;

struct PageFrame {
  QString fileName; // the account file's name, without folder
  QString message;  // the main show message; may be empty
  QDate printDate;

  // The body of a page whose printable area is page.
  static QRectF BodyRect(const QRectF &page);
  // "页 3 / 12".
  static QString PageNumberText(int index, int count);
  // Paints header and footer of page index of count.
  void Paint(QPainter &painter, const QRectF &page, int index, int count) const;
};
