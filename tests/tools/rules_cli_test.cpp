// sorvanel-cli rules: adding, listing and deleting import rules, and an
// import that applies them or, with --no-rules, does not.
#include "cli_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RulesCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("book.fz");
    ASSERT_EQ(RunCli({"new", path_}).status, 0);
  }

  CliResult Add(const QString &source, const QString &word, const QString &text,
                const QString &setting) {
    return RunCli({"rules", path_, "add", "--if", source, word, text, "--set",
                   setting});
  }

  QString Categories(const QString &group) {
    return RunCli({"sql", path_,
                   "Select Category From Users Where trelva_Group_ID=" +
                       group + " Order By ID"})
        .out;
  }

  QTemporaryDir dir_;
  QString path_;
};

} // namespace

TEST_F(RulesCliTest, AddListDeleteAndImportWithAndWithoutRules) {
  // A fresh file has no rules yet, and viewing it adds nothing.
  CliResult listed = RunCli({"rules", path_});
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.out, "");
  EXPECT_EQ(Add("交易对方", "contains", "滴滴", "类别=交通").out, "1\n");
  EXPECT_EQ(Add("商品", "starts", "O'Brien", "Memo=it's").status, 0);
  EXPECT_EQ(Add("交易对方", "equals", "美团", "Category=餐饮").status, 0);

  CliResult refused = Add("交易对方", "equals", "x", "Nope=1");
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(refused.err.contains("账簿中没有名为“Nope”的字段"))
      << qPrintable(refused.err);
  refused = Add("交易对方", "like", "x", "类别=交通");
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(refused.err.contains("contains、equals 或 starts"))
      << qPrintable(refused.err);
  refused = RunCli({"rules", path_, "delete", "9"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(refused.err.contains("没有第9条导入规则")) << qPrintable(refused.err);

  EXPECT_EQ(RunCli({"rules", path_, "delete", "2"}).status, 0);
  EXPECT_EQ(RunCli({"rules", path_}).out,
            "1\t交易对方 包含 “滴滴”\t类别 = 交通\n"
            "2\t交易对方 等于 “美团”\t类别 = 餐饮\n");

  const QString bill = dir_.filePath("bill.csv");
  QFile file(bill);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("交易时间,交易对方,商品,金额\n"
             "2024-01-05,滴滴出行,快车,-12.5\n"
             "2024-01-06,美团,外卖,-30\n"
             "2024-01-07,超市,牛奶,-8\n");
  file.close();
  CliResult imported = RunCli({"import", path_, bill, "--group", "3"});
  EXPECT_EQ(imported.status, 0) << qPrintable(imported.err);
  EXPECT_EQ(Categories("3"), "交通\n餐饮\n其他\n");
  imported = RunCli({"import", path_, bill, "--group", "4", "--no-rules"});
  EXPECT_EQ(imported.status, 0) << qPrintable(imported.err);
  EXPECT_EQ(Categories("4"), "其他\n其他\n其他\n");
  // The import with rules counted the lines each rule set.
  EXPECT_EQ(RunCli({"sql", path_,
                    "Select LastMatches From ImportRule Order By SortID"})
                .out,
            "1\n1\n");
}
