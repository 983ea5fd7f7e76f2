// The compile driver and the evaluation entry.
#include "formula/evaluate_formula.h"

#include "base/prompt.h"
#include "formula/formula_error.h"
#include "formula/math_grammar.h"

#include <cmath>
#include <exception>
#include <string>

namespace {

// The text as one byte per character without its spaces. A character that
// is not ASCII has no single byte and leaves the whole text empty, so the
// parse fails. A NUL would end the text early and hide what follows it, so
// it counts as such a character too.
std::string NarrowWithoutSpaces(const QString &text) {
  std::string narrow;
  narrow.reserve(size_t(text.size()));
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    if (unit == 0 || unit > 0x7F)
      return std::string();
    if (unit != u' ')
      narrow.push_back(char(unit));
  }
  return narrow;
}

// Parentheses are parsed by recursion, a few stack frames per level; a text
// nested this deep is refused rather than allowed to exhaust the stack.
constexpr int kMaxNesting = 1000;

bool NestsTooDeep(const std::string &text) {
  int depth = 0;
  for (const char c : text) {
    if (c == '(' && ++depth > kMaxNesting)
      return true;
    if (c == ')')
      --depth;
  }
  return false;
}

} // namespace

void Compile(const QString &text, FormulaCode &code) {
  CompileWithSlots(text, code, nullptr);
}

void CompileWithSlots(const QString &text, FormulaCode &code,
                      std::vector<std::uint32_t> *numberSlots) {
  const std::string narrow = NarrowWithoutSpaces(text);
  code.Release();
  code.Begin();
  if (NestsTooDeep(narrow))
    throw FormulaError(kParseErrorText);
  MathGrammar grammar(&code, numberSlots);
  const char *first = narrow.c_str();
  const char *last = first + narrow.size();
  const auto info = boost::spirit::classic::parse(first, last, grammar);
  if (!info.full)
    throw FormulaError(kParseErrorText);
  code.Finish();
}

QString FormulaFailureMessage(const QString &text) {
  return QStringLiteral("执行语句错误：\n\r[") + text + QLatin1Char(']');
}

QString NotFiniteMessage(const QString &text) {
  return QStringLiteral("计算结果超出数值范围或无意义（如除以零）：\n\r[") + text +
         QLatin1Char(']');
}

double EvaluateFormula(const QString &text, float x, bool *ok, bool *finite) {
  if (ok)
    *ok = true;
  if (finite)
    *finite = true;
  if (text.isEmpty())
    return 0;
  FormulaCode code;
  try {
    Compile(text, code);
    const double value = double(code.Invoke(x));
    code.Release();
    if (std::isfinite(value))
      return value;
    // An infinity or NaN would be stored as 0 or fail later without a
    // word; it ends here, shown as what it is.
    if (ok)
      *ok = false;
    if (finite)
      *finite = false;
    ShowMessage(NotFiniteMessage(text));
    return 0;
  } catch (const std::exception &) {
    // Every failure, whatever its text, ends the same way for the user.
  }
  try {
    code.Release();
  } catch (const std::exception &) {
    // The area could not be returned; the message below still applies.
  }
  if (ok)
    *ok = false;
  ShowMessage(FormulaFailureMessage(text));
  return 0;
}
