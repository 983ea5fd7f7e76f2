// Substitution and evaluation of a row.
#include "formula/evaluate_row.h"

#include "base/prompt.h"
#include "formula/count_decimals.h"
#include "formula/evaluate_formula.h"
#include "formula/field_pattern.h"
#include "formula/format_decimal.h"
#include "formula/formula_template.h"
#include "formula/row_substitution.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A text substituted into itself, or into a column that is substituted
// further, can double at every column; past kSubstitutedLimit no text is a
// usable formula, so the growth stops there.

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
// False when a result was no finite number.
bool EvaluateNumeric(FieldValueRow &items, const std::vector<bool> &tooLong) {
  bool allFinite = true;
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
    bool finite = true;
    item.text = FormatDecimal(EvaluateFormula(item.text, 0, nullptr, &finite),
                              decimals);
    allFinite = allFinite && finite;
  }
  return allFinite;
}

// The value text of a numeric target through its compiled template, or
// through its substituted text when the template does not compile (the
// failure and its message are then the text's own). finite is cleared when
// the result is no finite number, which fails as EvaluateFormula fails.
QString EvaluateTarget(const FieldValueRow &items,
                       const RowSubstitution &substitution, qsizetype j,
                       bool &finite) {
  std::vector<int> numberItems;
  const QString key = substitution.Template(j, numberItems);
  FormulaTemplate &form = FormulaTemplateFor(key);
  if (!form.code || form.poolSlots.size() != numberItems.size()) {
    const QString text = substitution.Text(j);
    bool textFinite = true;
    const double value = EvaluateFormula(text, 0, nullptr, &textFinite);
    finite = finite && textFinite;
    return FormatDecimal(value, CountDecimals(text));
  }
  // A plain number is bounded by operators in a text that compiles, so the
  // decimals of the whole are those of the template or of a number.
  int decimals = form.decimals;
  for (size_t k = 0; k < numberItems.size(); ++k) {
    const int item = numberItems[k];
    form.code->SetConstant(form.poolSlots[k], substitution.Number(item));
    decimals = std::max(decimals, CountDecimals(items[item].text));
  }
  const double value = double(form.code->Invoke(0));
  if (std::isfinite(value))
    return FormatDecimal(value, decimals);
  ShowMessage(NotFiniteMessage(substitution.Text(j)));
  finite = false;
  return FormatDecimal(0, decimals);
}

} // namespace

bool EvaluateRowFast(FieldValueRow &items, bool *allFinite) {
  bool finite = true;
  std::vector<bool> targets(size_t(items.size()));
  for (qsizetype j = 0; j < items.size(); ++j)
    targets[size_t(j)] = IsTarget(items[j]);
  RowSubstitution substitution;
  if (!substitution.Run(items, targets))
    return false;
  // Every text is worked out before any is written: the pieces point into
  // the row.
  std::vector<QString> texts(size_t(items.size()));
  for (qsizetype j = 0; j < items.size(); ++j) {
    if (!targets[size_t(j)])
      continue;
    texts[size_t(j)] = items[j].IsNumeric()
                           ? EvaluateTarget(items, substitution, j, finite)
                           : substitution.Text(j);
  }
  for (qsizetype j = 0; j < items.size(); ++j) {
    if (targets[size_t(j)])
      items[j].text = std::move(texts[size_t(j)]);
    items[j].applyingDefault = false;
  }
  if (allFinite)
    *allFinite = finite;
  return true;
}

bool EvaluateRow(FieldValueRow &items) {
  bool finite = true;
  if (EvaluateRowFast(items, &finite))
    return finite;
  return EvaluateRowTextually(items);
}

bool EvaluateRowTextually(FieldValueRow &items) {
  std::vector<FieldPattern> patterns;
  patterns.reserve(size_t(items.size()));
  for (const FieldValueItem &item : items)
    patterns.emplace_back(item.fieldName);
  std::vector<bool> tooLong(size_t(items.size()), false);
  Substitute(items, patterns, tooLong);
  const bool finite = EvaluateNumeric(items, tooLong);
  for (FieldValueItem &item : items)
    item.applyingDefault = false;
  return finite;
}

bool RecalculateDependents(FieldValueRow &items, qsizetype changed) {
  if (changed < 0 || changed >= items.size())
    return true;
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
  return EvaluateRow(items);
}
