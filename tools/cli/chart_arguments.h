// The arguments of the chart commands of sorvanel-cli (monthly, shares):
// the sum column, the scope condition and the option columns with their
// chosen options, checked against the file's columns. Every refusal is
// reported through ShowMessage.
#pragma once

#include "analysis/chart_set_up.h"
#include "analysis/chart_side.h"

#include <QString>
#include <QStringList>

class CDBVisiter;
class ColumnList;

struct ChartArguments {
  QString path;
  QString sumField;
  QString where; // the scope condition; may be empty
  // The option columns of the repeated option flag, in the order of the
  // file's columns, each with its options in the column's order.
  QList<ExpandedColumn> optionColumns;
  // --side as typed; empty for the default (spending in a ledger with a
  // side column).
  QString sideName;
  ChartSide side = ChartSide::Spending;
};

// Reads "PATH --sum FIELD [--where TEXT] [--side SIDE] [optionFlag
// FIELD=OPT,...]..."; false (with the usage message) when the form is
// wrong.
bool ParseChartArguments(const QStringList &args, const QString &optionFlag,
                         const char *command, ChartArguments &out);

// Checks the arguments against the file's columns: the sum column must be
// numeric, every option field an option column and every option one of its
// options, and a side (支出, 收入, or 结余 when balanceAllowed) needs a
// ledger with a side column. Rewrites the field names as the file spells
// them and puts the option columns and their options in the file's order.
bool ResolveChartArguments(const ColumnList &columns, ChartArguments &args,
                           bool balanceAllowed);

// Checks that the scope condition runs; shows the engine's message when it
// does not.
bool CheckChartScope(CDBVisiter &session, const ChartArguments &args);
