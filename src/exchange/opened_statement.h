// What opening a statement found out about it (import_opening.h), which the
// later steps of the import read: where it is, its header and first lines,
// the known bill it is and what its head says.
#pragma once

#include "exchange/bill_layouts.h"
#include "exchange/bill_recognition.h"
#include "exchange/statement_lines.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct OpenedStatement {
  QString path;
  QStringList headers;
  // Up to kSampleLines first data lines that read.
  std::vector<SourceLine> sample;
  // What identifies the statement's layout as it was opened; the mapping is
  // saved under it.
  QString signature;
  // The known bill the statement is, and what its head says.
  std::optional<BillLayout> layout;
  BillHead head;
  // The last day of the statement's period, for dates without a year.
  QDate periodEnd;
};

// The sample lines a statement shows before it is checked.
inline constexpr int kSampleLines = 20;
