// Reading a PDF back as a person would: its page count and the text of a
// page, through poppler-utils (pdfinfo, pdftotext).
#pragma once

#include <QString>

class PrintJob;
struct PageFrame;

// The number of pages; -1 when the file does not read as PDF.
int PdfPageCount(const QString &path);
// The text of page (from 1), in reading order, folded by NFKC.
QString PdfPageText(const QString &path, int page);
// Whether a page's text holds text (folded as the page's text is).
bool PdfHas(const QString &pageText, const QString &text);
// Prints job onto an A4 portrait PDF at path with the frame; false on
// failure.
bool PrintToPdf(PrintJob &job, const PageFrame &frame, const QString &path);
