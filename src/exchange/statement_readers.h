// The readers of statements the import knows, in the order they are asked
// whether they read a file: OFX, XLSX, legacy Excel, and CSV last, which
// takes any text. Adding a format is writing its reader (statement_reader.h)
// and adding it to this list.
#pragma once

#include "exchange/statement_lines.h"

#include <QByteArray>

#include <vector>

class StatementReader;

const std::vector<const StatementReader *> &StatementReaders();

// The first reader that reads the file starting with head.
const StatementReader &ReaderFor(const QByteArray &head);

// The reader of kind.
const StatementReader &ReaderOf(StatementKind kind);
