// The fonts of printed pages, in print units (see print_job.h): a CJK font
// that every page and the statement use, so that the Chinese texts come out
// the same in the program, the CLI and the PDF files.
#pragma once

#include <QFont>

// The body font at a pixel size in print units (12 is 9 points).
QFont PrintFont(int pixelSize = 12, bool bold = false);
