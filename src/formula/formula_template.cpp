// The thread's cache of compiled formula templates.
#include "formula/formula_template.h"

#include "formula/count_decimals.h"
#include "formula/evaluate_formula.h"

#include <QHash>

#include <exception>

FormulaTemplate &FormulaTemplateFor(const QString &text) {
  // A file has a few formula columns; the bound only keeps odd callers from
  // holding a code area for every text they ever used.
  constexpr qsizetype kCacheLimit = 256;
  thread_local QHash<QString, std::shared_ptr<FormulaTemplate>> cache;
  const auto found = cache.constFind(text);
  if (found != cache.constEnd())
    return *found.value();
  if (cache.size() >= kCacheLimit)
    cache.clear();
  auto form = std::make_shared<FormulaTemplate>();
  form->decimals = CountDecimals(text);
  form->code = std::make_unique<FormulaCode>();
  try {
    CompileWithSlots(text, *form->code, &form->poolSlots);
  } catch (const std::exception &) {
    form->code.reset();
    form->poolSlots.clear();
  }
  cache.insert(text, form);
  return *form;
}
