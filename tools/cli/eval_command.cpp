// sorvanel-cli eval FORMULA: the value of a formula exactly as a numeric
// column would show it. A failure prints its message on stderr, still prints
// "0" and exits with status 1.
#include "cli_command.h"

#include "formula/count_decimals.h"
#include "formula/evaluate_formula.h"
#include "formula/format_decimal.h"

#include <cstdio>

namespace {

int RunEval(const QStringList &args) {
  if (args.size() != 1) {
    ShowUsage("eval");
    return 1;
  }
  const QString &formula = args.first();
  bool ok = false;
  const double value = EvaluateFormula(formula, 0, &ok);
  PrintLine(FormatDecimal(value, CountDecimals(formula)));
  return ok ? 0 : 1;
}

} // namespace

SORVANEL_CLI_COMMAND("eval", "eval FORMULA", RunEval);
