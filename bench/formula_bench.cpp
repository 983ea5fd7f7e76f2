// Formula evaluation against muparser, measured in the same run.
//
// One evaluation is the whole cycle a row operation pays per numeric
// column: compile to machine code, call once, release. Its peer is
// muparser's SetExpr followed by Eval, which parses the text anew each time.
// The row figure is RecalculateDependents (and so EvaluateRow) on ten
// columns, three of them formulas, after an edit; its peer evaluates the same
// three formulas with muparser, the row's values bound as variables. Each figure is printed as a ratio to its peer.
#include "base/prompt.h"
#include "formula/evaluate_formula.h"
#include "formula/evaluate_row.h"

#include "ratio_reporter.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <QStringList>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Case {
  const char *label;
  std::string text;
};

std::string SumOfLiterals(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i)
      text += '+';
    text += std::to_string(i + 1) + ".5";
  }
  return text;
}

const std::vector<Case> &Cases() {
  static const std::vector<Case> cases = {
      {"product", "12.5*3"},
      {"mixed", "(2+3)*4-1/8"},
      {"sum30", SumOfLiterals(30)},
  };
  return cases;
}

void SorvanelEvaluate(benchmark::State &state, const std::string &text) {
  const QString formula = QString::fromStdString(text);
  for (auto _ : state)
    benchmark::DoNotOptimize(EvaluateFormula(formula, 0));
}

void MuparserEvaluate(benchmark::State &state, const std::string &text) {
  mu::Parser parser;
  for (auto _ : state) {
    parser.SetExpr(text);
    benchmark::DoNotOptimize(parser.Eval());
  }
}

// Ten columns: key, date, amount, count, three formula columns, text, option
// and memo.
FieldValueRow SampleRow() {
  auto item = [](std::uint32_t type, const char *name, const char *text,
                 const char *formula = "") {
    FieldValueItem i;
    i.type = type;
    i.fieldName = QString::fromUtf8(name);
    i.text = QString::fromUtf8(text);
    i.defaultFormula = QString::fromUtf8(formula);
    return i;
  };
  return {item(0, "ID", "17"),
          item(6, "Day", "2024/6/11"),
          item(kFieldTypeFloat, "Amount", "12.5"),
          item(kFieldTypeInteger, "Count", "3"),
          item(kFieldTypeFloat, "Total", "", "Amount*Count"),
          item(kFieldTypeFloat, "Tax", "", "Total*0.13"),
          item(kFieldTypeFloat, "Net", "", "Total-Tax"),
          item(3, "Shop", "Corner store"),
          item(4, "Kind", "Food"),
          item(10, "Memo", "Count the cash")};
}

// The count typed changes from edit to edit, as it does in a grid.
constexpr int kCounts = 16;

void SorvanelRow(benchmark::State &state) {
  const FieldValueRow sample = SampleRow();
  QStringList counts;
  for (int i = 0; i < kCounts; ++i)
    counts << QString::number(i + 1);
  int next = 0;
  for (auto _ : state) {
    FieldValueRow row = sample;
    row[3].text = counts[next++ % kCounts];
    RecalculateDependents(row, 3);
    benchmark::DoNotOptimize(row[6].text);
  }
}

// The parser and its variables are set up once, as the row operation keeps
// its compiled field-name patterns from row to row.
void MuparserRow(benchmark::State &state) {
  double amount = 12.5, count = 4, total = 0, tax = 0;
  mu::Parser parser;
  parser.DefineVar("Amount", &amount);
  parser.DefineVar("Count", &count);
  parser.DefineVar("Total", &total);
  parser.DefineVar("Tax", &tax);
  int next = 0;
  for (auto _ : state) {
    count = next++ % kCounts + 1;
    parser.SetExpr("Amount*Count");
    total = parser.Eval();
    parser.SetExpr("Total*0.13");
    tax = parser.Eval();
    parser.SetExpr("Total-Tax");
    benchmark::DoNotOptimize(parser.Eval());
  }
}

// A prompt that counts instead of printing: none of the formulas may fail.
class CountingPrompt : public Prompt {
public:
  void Message(const QString &) override { ++messages; }
  bool AskYesNo(const QString &) override { return false; }
  int AskChoice(const QString &, const QStringList &) override { return -1; }
  int messages = 0;
};

} // namespace

int main(int argc, char **argv) {
  CountingPrompt prompt;
  ScopedPrompt scoped(prompt);
  for (const Case &c : Cases()) {
    benchmark::RegisterBenchmark((std::string("sorvanel/") + c.label).c_str(),
                                 SorvanelEvaluate, c.text);
    benchmark::RegisterBenchmark((std::string("muparser/") + c.label).c_str(),
                                 MuparserEvaluate, c.text);
  }
  benchmark::RegisterBenchmark("sorvanel/row", SorvanelRow);
  benchmark::RegisterBenchmark("muparser/row", MuparserRow);

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  // The ratio of CPU times is the figure: on a machine shared with other
  // work, wall time also counts the time spent waiting for a processor.
  std::printf("\nsorvanel / muparser, CPU time per operation (at most 1.0 is "
              "the target; wall time for reference):\n");
  std::vector<std::string> labels;
  for (const Case &c : Cases())
    labels.push_back(c.label);
  labels.push_back("row");
  for (const std::string &label : labels) {
    const RunTimes *ours = reporter.Find("sorvanel/" + label);
    const RunTimes *peer = reporter.Find("muparser/" + label);
    if (!ours || !peer || ours->cpu <= 0 || peer->cpu <= 0 || peer->real <= 0)
      continue;
    const double oursCpu = ours->cpu * ours->nanoseconds;
    const double peerCpu = peer->cpu * peer->nanoseconds;
    std::printf("  %-8s %6.3f  (%.2f us vs %.2f us)   wall %6.3f\n",
                label.c_str(), oursCpu / peerCpu, oursCpu / 1000,
                peerCpu / 1000,
                ours->real * ours->nanoseconds / (peer->real * peer->nanoseconds));
  }
  if (prompt.messages) {
    std::fprintf(stderr, "%d formula failures during the run\n",
                 prompt.messages);
    return 1;
  }
  return 0;
}
