// Substitution and evaluation of a row.
#include "formula/evaluate_row.h"

#include "base/prompt.h"
#include "formula/count_decimals.h"
#include "formula/evaluate_formula.h"
#include "formula/field_pattern.h"
#include "formula/format_decimal.h"

#include <vector>

namespace {

// A text substituted into itself, or into a column that is substituted
// further, can double at every column; past this length no text is a usable
// formula, so the growth stops there.
constexpr qsizetype kSubstitutedLimit = 8192;

bool IsTarget(const FieldValueItem &item) {
  return item.IsNumeric() || item.applyingDefault;
}

// Steps 1 and 2 of EvaluateRow. A target whose text would outgrow the limit
// keeps the text it had and takes no further part; tooLong marks it.
void Substitute(FieldValueRow &items, const std::vector<FieldPattern> &patterns,
                std::vector<bool> &tooLong) {
  for (qsizetype i = 0; i < items.size(); ++i) {
    for (qsizetype j = 0; j < items.size(); ++j) {
      FieldValueItem &target = items[j];
      if (!IsTarget(target) || tooLong[size_t(j)])
        continue;
      bool grew = false;
      target.text = patterns[size_t(i)].ReplaceIn(
          target.text, items[i].text, kSubstitutedLimit, &grew);
      if (grew)
        tooLong[size_t(j)] = true;
    }
  }
  const QString zero = QStringLiteral("0");
  for (qsizetype i = 0; i < items.size(); ++i) {
    for (qsizetype j = 0; j < items.size(); ++j) {
      if (IsTarget(items[j]) && !tooLong[size_t(j)])
        items[j].text = patterns[size_t(i)].ReplaceIn(items[j].text, zero);
    }
  }
}

// Step 3. A numeric text that outgrew the limit fails as a formula would.
void EvaluateNumeric(FieldValueRow &items, const std::vector<bool> &tooLong) {
  for (qsizetype j = 0; j < items.size(); ++j) {
    FieldValueItem &item = items[j];
    if (!item.IsNumeric())
      continue;
    const int decimals = CountDecimals(item.text);
    if (tooLong[size_t(j)]) {
      ShowMessage(FormulaFailureMessage(item.text));
      item.text = FormatDecimal(0, decimals);
      continue;
    }
    item.text = FormatDecimal(EvaluateFormula(item.text, 0), decimals);
  }
}

} // namespace

void EvaluateRow(FieldValueRow &items) {
  std::vector<FieldPattern> patterns;
  patterns.reserve(size_t(items.size()));
  for (const FieldValueItem &item : items)
    patterns.emplace_back(item.fieldName);
  std::vector<bool> tooLong(size_t(items.size()), false);
  Substitute(items, patterns, tooLong);
  EvaluateNumeric(items, tooLong);
  for (FieldValueItem &item : items)
    item.applyingDefault = false;
}

void RecalculateDependents(FieldValueRow &items, qsizetype changed) {
  if (changed < 0 || changed >= items.size())
    return;
  // Breadth-first over the patterns found so far: each item is tested once
  // against each pattern, which finds the same set of dependents as
  // rescanning the whole row after every addition.
  std::vector<bool> reached(size_t(items.size()), false);
  std::vector<qsizetype> work{changed};
  reached[size_t(changed)] = true;
  for (size_t next = 0; next < work.size(); ++next) {
    const FieldPattern pattern(items[work[next]].fieldName);
    for (qsizetype i = 0; i < items.size(); ++i) {
      if (reached[size_t(i)] || !pattern.FoundIn(items[i].defaultFormula))
        continue;
      reached[size_t(i)] = true;
      work.push_back(i);
    }
  }
  for (size_t k = 1; k < work.size(); ++k) {
    FieldValueItem &item = items[work[k]];
    item.text = item.defaultFormula;
    item.applyingDefault = true;
  }
  EvaluateRow(items);
}
