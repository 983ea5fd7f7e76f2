// Reading a PDF back as a person would: its page count and the text of a
// page, through poppler-utils (pdfinfo, pdftotext).
#pragma once

#include <QString>

// The number of pages; -1 when the file does not read as PDF.
int PdfPageCount(const QString &path);
// Whether the first page is wider than tall.
bool PdfIsLandscape(const QString &path);
// The text of page (from 1), in the order it was drawn.
QString PdfPageText(const QString &path, int page);
// Whether a page's text holds text.
bool PdfHas(const QString &pageText, const QString &text);
