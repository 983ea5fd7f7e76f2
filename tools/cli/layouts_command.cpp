// sorvanel-cli layouts: lists the bill layouts the import knows, the
// user's own (kept from the import dialog) and the built-in ones, a line
// each: its name, whose it is (用户 or 内置), the formats it is read from
// and how its lines give their side.
#include "cli_command.h"

#include "base/prompt.h"
#include "exchange/bill_layouts.h"

namespace {

const char kUsage[] = "layouts";

QString SideName(BillSideForm side) {
  switch (side) {
  case BillSideForm::Direction:
    return QStringLiteral("收/支列");
  case BillSideForm::DebitCredit:
    return QStringLiteral("支出与收入两列");
  case BillSideForm::Signed:
    return QStringLiteral("金额正负");
  case BillSideForm::Flag:
    return QStringLiteral("借贷标志");
  case BillSideForm::CreditCard:
    return QStringLiteral("信用卡（正数为支出）");
  }
  return QString();
}

QString SourceNames(const BillLayout &layout) {
  QStringList names;
  for (const BillSource source : layout.sources)
    names.append(source == BillSource::Csv    ? QStringLiteral("CSV")
                 : source == BillSource::Xlsx ? QStringLiteral("XLSX")
                                              : QStringLiteral("XLS"));
  return names.join(QLatin1Char('/'));
}

int RunLayouts(const QStringList &args) {
  if (!args.isEmpty()) {
    ShowUsage("layouts");
    return 1;
  }
  for (const BillLayout &layout : BillLayouts())
    PrintLine(QStringLiteral("%1\t%2\t%3\t%4")
                  .arg(layout.name,
                       layout.user ? QStringLiteral("用户") : QStringLiteral("内置"),
                       SourceNames(layout), SideName(layout.side)));
  return 0;
}

} // namespace

SORVANEL_CLI_COMMAND("layouts", kUsage, RunLayouts);
