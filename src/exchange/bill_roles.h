// Guessing what the columns of an unknown bill or statement mean: each
// column's role from its name (the names banks and payment services use)
// and, where names leave it open, from its values (a column of times of
// day is the time of the date beside it). The guess is a layout like the
// known ones, so an unknown bill is mapped the way a known one is.
#pragma once

#include "exchange/bill_layouts.h"
#include "exchange/statement_source.h"

#include <QStringList>

#include <vector>

// The layout of a statement with these headers: columns with a role (the
// others as Other), the side form (a 收/支 column, out and in columns, a
// 借/贷 column, else one signed amount; a credit card's sense when headText,
// the lines above the header, names a credit card).
BillLayout InferBillLayout(const QStringList &headers,
                           const std::vector<SourceLine> &sample,
                           const QString &headText);

// The value of the column called header in each sample line.
QStringList SampleValues(const std::vector<SourceLine> &sample,
                         const QStringList &headers, const QString &header);
