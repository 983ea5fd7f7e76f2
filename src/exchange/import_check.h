// What the check of a statement found, line by line: the state of each
// line (new, duplicate, skipped or bad), whether it is ticked, the texts of
// its record and what it says of itself. Checking makes it
// (import_checking.h), the preview shows it and the user changes its ticks
// and texts (import_preview.h), storing reads it (import_storing.h).
#pragma once

#include "exchange/bill_seen.h"
#include "records/packed_texts.h"

#include <QList>
#include <QSet>
#include <QString>

#include <memory>
#include <vector>

struct BadLine {
  int lineNumber = 0;
  QString reason;
};

// What a line of the statement is to the import.
enum class LineState {
  New,       // to be stored (ticked unless reason says why not)
  Duplicate, // the same payment (by its number, else by its values) is stored
  Skipped,   // a closed payment or a refund that cancels one: not stored
  Bad,       // does not read: reason says why
};

struct CheckedLine {
  int lineNumber = 0;
  LineState state = LineState::New;
  // Whether the line is stored unless the user says otherwise.
  bool ticked = false;
  QString reason;
  // The record's texts, one per column as the line converts
  // (line_conversion.h; empty for a bad line), and the bill's number of the
  // payment. Packed: a check keeps every line of a statement.
  PackedTexts texts;
  QString number;
  // The positions of texts that rules set, in column order.
  QList<int> ruleSet;
  // What the line says of itself, kept in the file when it is stored or
  // left out for good; only for lines with a number or a payment made
  // through a payment service.
  std::shared_ptr<SeenLine> seen;
};

struct ImportCheck {
  int good = 0; // lines that read and are not skipped, duplicates included
  QList<BadLine> bad;
  QList<int> duplicateLines;
  // The lines of the footer under the rows ("表尾").
  QList<int> footerLines;
  // Every line, in order, with its state.
  std::vector<CheckedLine> lines;

  int Count(LineState state) const;
  // The numbers of the lines ticked.
  QSet<int> TickedLines() const;
};
