// Random formula texts and rows through the compiler and the row operations.
//
// The first byte chooses what the rest is:
//   even: a formula text, compiled step by step and evaluated; the machine
//         code must agree with the interpreter, and the code area must be
//         writable while it is filled and execute-only once finished;
//   odd:  a row, one item per line as "type|name|text|default formula",
//         run through RecalculateDependents or EvaluateRow; a column that is
//         neither numeric nor given its default must keep its text, and
//         the fast path, where it takes the row, must give the texts and
//         messages of the text substitution.
// Every so often the whole address space is checked for a page that is
// writable and executable at once.
#include "base/prompt.h"
#include "formula/evaluate_formula.h"
#include "formula/evaluate_row.h"
#include "formula/formula_code.h"
#include "formula/formula_error.h"
#include "formula/formula_interpreter.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char *what) {
  std::fprintf(stderr, "formula_fuzz: %s\n", what);
  std::abort();
}

// The permission field of every mapping, or of the one holding address.
QList<QByteArray> Permissions(const void *address) {
  QList<QByteArray> found;
  QFile maps(QStringLiteral("/proc/self/maps"));
  if (!maps.open(QIODevice::ReadOnly))
    Fail("cannot read /proc/self/maps");
  const auto target = reinterpret_cast<std::uintptr_t>(address);
  for (const QByteArray &line : maps.readAll().split('\n')) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() < 2)
      continue;
    const QList<QByteArray> range = fields[0].split('-');
    if (range.size() != 2)
      continue;
    const std::uintptr_t begin = range[0].toULongLong(nullptr, 16);
    const std::uintptr_t end = range[1].toULongLong(nullptr, 16);
    if (!address || (target >= begin && target < end))
      found << fields[1];
  }
  return found;
}

void CheckNoWritableExecutable() {
  for (const QByteArray &perms : Permissions(nullptr))
    if (perms.size() >= 3 && perms[1] == 'w' && perms[2] == 'x')
      Fail("a mapping is writable and executable");
}

void CheckArea(const void *area, const char *expected) {
  if (!area)
    return;
  const QList<QByteArray> perms = Permissions(area);
  if (perms.size() != 1 || !perms[0].startsWith(expected))
    Fail("code area has the wrong protection");
}

bool SameValue(long double a, long double b) {
  if (std::isnan(a) || std::isnan(b))
    return std::isnan(a) && std::isnan(b);
  return a == b;
}

void FuzzFormula(const QString &text, float x, bool checkMaps) {
  FormulaCode code;
  if (checkMaps) {
    code.Begin();
    CheckArea(code.CodeArea(), "rw-");
  }
  bool compiled = false;
  try {
    Compile(text, code);
    compiled = true;
  } catch (const FormulaError &) {
  }
  if (compiled) {
    if (checkMaps)
      CheckArea(code.CodeArea(), "--x");
    if (!SameValue(code.Invoke(x), InterpretFormula(code, x)))
      Fail("machine code and interpreter disagree");
  }
  code.Release();

  bool ok = false;
  const double value = EvaluateFormula(text, x, &ok);
  if (ok != (compiled || text.isEmpty()))
    Fail("EvaluateFormula and Compile disagree on success");
  if (!ok && value != 0)
    Fail("a failed evaluation is not 0");
}

// Keeps every message shown.
class RecordingPrompt : public SilentPrompt {
public:
  void Message(const QString &text) override { texts << text; }
  QStringList texts;
};

void CompareFastAndTextual(const FieldValueRow &row) {
  FieldValueRow fast = row;
  RecordingPrompt fastPrompt;
  bool taken = false;
  {
    ScopedPrompt scoped(fastPrompt);
    taken = EvaluateRowFast(fast);
  }
  if (!taken)
    return;
  FieldValueRow textual = row;
  RecordingPrompt textualPrompt;
  {
    ScopedPrompt scoped(textualPrompt);
    EvaluateRowTextually(textual);
  }
  for (qsizetype i = 0; i < row.size(); ++i)
    if (fast[i].text != textual[i].text)
      Fail("the fast path and the text substitution give different texts");
  if (fastPrompt.texts != textualPrompt.texts)
    Fail("the fast path and the text substitution show different messages");
}

FieldValueRow ParseRow(const QByteArray &bytes) {
  FieldValueRow row;
  for (const QByteArray &line : bytes.split('\n')) {
    const QList<QByteArray> fields = line.split('|');
    FieldValueItem item;
    item.type = fields[0].isEmpty() ? 0 : std::uint8_t(fields[0][0]) % 11;
    if (fields.size() > 1)
      item.fieldName = QString::fromUtf8(fields[1]);
    if (fields.size() > 2)
      item.text = QString::fromUtf8(fields[2]);
    if (fields.size() > 3)
      item.defaultFormula = QString::fromUtf8(fields[3]);
    item.applyingDefault = fields.size() > 4 && !fields[4].isEmpty();
    row.append(item);
    if (row.size() == 24)
      break;
  }
  return row;
}

void FuzzRow(const QByteArray &bytes, std::uint8_t selector) {
  FieldValueRow row = ParseRow(bytes);
  const FieldValueRow before = row;
  CompareFastAndTextual(row);
  const bool recalculate = selector & 2;
  const qsizetype changed = qsizetype(selector >> 2) - 2;
  if (recalculate)
    RecalculateDependents(row, changed);
  else
    EvaluateRow(row);
  if (row.size() != before.size())
    Fail("the row changed its length");
  if (recalculate && (changed < 0 || changed >= row.size())) {
    for (qsizetype i = 0; i < row.size(); ++i)
      if (row[i].text != before[i].text)
        Fail("a row was changed through a column it does not have");
    return;
  }
  for (qsizetype i = 0; i < row.size(); ++i) {
    if (row[i].applyingDefault)
      Fail("applyingDefault outlived the operation");
    if (row[i].IsNumeric() || before[i].applyingDefault)
      continue;
    // A column with a default formula may be a dependent that
    // RecalculateDependents resets.
    if (recalculate && !before[i].defaultFormula.isEmpty())
      continue;
    if (row[i].text != before[i].text)
      Fail("a text column was rewritten");
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static SilentPrompt prompt;
  static ScopedPrompt scoped(prompt);
  static unsigned runs = 0;
  if (size == 0)
    return 0;
  const bool checkMaps = (++runs % 16) == 0;
  const std::uint8_t selector = data[0];
  const QByteArray rest(reinterpret_cast<const char *>(data + 1),
                        qsizetype(size - 1));
  if (selector % 2 == 0) {
    const float x = float(selector >> 1) - 64;
    FuzzFormula(QString::fromUtf8(rest), x, checkMaps);
  } else {
    FuzzRow(rest, selector);
  }
  if (checkMaps)
    CheckNoWritableExecutable();
  return 0;
}
