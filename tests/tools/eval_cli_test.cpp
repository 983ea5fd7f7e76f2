// sorvanel-cli eval: the value as a numeric column shows it, and failures.
#include "cli_support.h"

#include <gtest/gtest.h>

TEST(EvalCliTest, PrintsTheValueAsAColumnShowsIt) {
  const struct {
    const char *formula;
    const char *shown;
  } cases[] = {{"12.5*3", "37.5"}, {"2.50*2", "5"}, {"1/3", "0"},
               {"1.0/3", "0.3"},   {"(2+3)*4-1/8", "20"}, {"", "0"},
               {" 1 + 2 ", "3"},   {"x+1", "1"},
               // Amounts keep their cents however large they grow.
               {"1234567.89*1", "1234567.89"}, {"300000.01*1", "300000.01"},
               {"262144.01", "262144.01"}};
  for (const auto &c : cases) {
    const CliResult result = RunCli({"eval", QString::fromUtf8(c.formula)});
    EXPECT_EQ(result.status, 0) << c.formula << ": " << qPrintable(result.err);
    EXPECT_EQ(result.out, QString::fromUtf8(c.shown) + "\n") << c.formula;
    EXPECT_TRUE(result.err.isEmpty()) << c.formula;
  }
}

TEST(EvalCliTest, FailureGoesToStderrAndStillPrintsZero) {
  const CliResult bad = RunCli({"eval", "金额*2"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "0\n");
  EXPECT_TRUE(bad.err.contains("执行语句错误：")) << qPrintable(bad.err);
  EXPECT_TRUE(bad.err.contains("[金额*2]")) << qPrintable(bad.err);

  const CliResult overflow = RunCli({"eval", "1e308*10"});
  EXPECT_EQ(overflow.status, 1);
  EXPECT_EQ(overflow.out, "0\n");
  EXPECT_TRUE(overflow.err.contains("[1e308*10]")) << qPrintable(overflow.err);

  EXPECT_EQ(RunCli({"eval"}).status, 1);
  EXPECT_EQ(RunCli({"eval", "1", "2"}).status, 1);
}
