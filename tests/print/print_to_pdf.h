// Printing a job onto an A4 portrait PDF, as a printer would get it.
#pragma once

#include <QString>

class PrintJob;
struct PageFrame;

// Prints job onto an A4 portrait PDF at path with the frame and mends its
// text layer, as printing to a PDF file does; false on failure.
bool PrintToPdf(PrintJob &job, const PageFrame &frame, const QString &path);
