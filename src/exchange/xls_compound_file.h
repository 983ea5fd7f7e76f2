// A look into an .xls workbook before FreeXL opens it: the OLE2 compound
// file is followed to its workbook stream, whose BIFF records say how many
// rows and columns each worksheet claims (its DIMENSION record). FreeXL
// allocates a cell for every row and column a sheet claims, of every sheet,
// when it opens the file; a file of a few kilobytes can claim gigabytes.
// Only the headers, the allocation tables and the directory are read; the
// file itself is mapped, not read into memory.
#pragma once

#include <QString>

enum class XlsLook {
  Read,       // cells holds what the sheets claim
  NoWorkbook, // a compound file without a workbook stream (a .doc file)
  Damaged,    // no compound file, or one whose tables lead nowhere
};

// The cells (rows times columns) that the sheets of the workbook at path
// claim, all together, in cells.
XlsLook XlsClaimedCells(const QString &path, qint64 *cells);
