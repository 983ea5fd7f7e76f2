// sorvanel-cli recurring and due: adding, listing, pausing, resuming and
// deleting recurring records, the occurrences due up to a date and, with
// --apply, the records they become; bad input refused with its reason and
// nothing changed.
#include "cli_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RecurringCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("book.fz");
    ASSERT_EQ(RunCli({"new", path_}).status, 0);
  }

  CliResult Recurring(const QStringList &args) {
    return RunCli(QStringList{"recurring", path_} + args);
  }

  // A refusal: exit status 1 and the message on stderr.
  void ExpectRefused(const CliResult &result, const QString &message) {
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.contains(message)) << qPrintable(result.err);
  }

  QTemporaryDir dir_;
  QString path_;
};

} // namespace

TEST_F(RecurringCliTest, AddListDueApplyPauseDelete) {
  EXPECT_EQ(Recurring({}).out, "");
  EXPECT_EQ(Recurring({"add", "房租", "--group", "2", "--every", "1", "months",
                       "--from", "2026-01-31", "Category=居住", "Amount=3000"})
                .out,
            "1\n");
  EXPECT_EQ(Recurring({"add", "O'Brien", "--group", "3", "--every", "2",
                       "weeks", "--from", "2026-02-03", "--times", "2",
                       "--auto", "Item=O'Brien"})
                .out,
            "2\n");
  EXPECT_EQ(Recurring({}).out, "1\t房租\t2\t每月\t2026-01-31\t进行中\n"
                               "2\tO'Brien\t3\t每2周\t2026-02-03\t进行中\n");

  const QString due = "1\t2026-01-31\t2\tCategory=居住\tAmount=3000\n"
                      "2\t2026-02-03\t3\tItem=O'Brien\n"
                      "2\t2026-02-17\t3\tItem=O'Brien\n"
                      "1\t2026-02-28\t2\tCategory=居住\tAmount=3000\n";
  EXPECT_EQ(RunCli({"due", path_, "--until", "2026-03-30"}).out, due);
  // Listing changes nothing.
  EXPECT_EQ(RunCli({"due", path_, "--until", "2026-03-30"}).out, due);
  const CliResult applied =
      RunCli({"due", path_, "--until", "2026-03-30", "--apply"});
  EXPECT_EQ(applied.status, 0);
  EXPECT_EQ(applied.out, "1\n1\n2\n2\n");
  EXPECT_EQ(RunCli({"due", path_, "--until", "2026-03-30"}).out, "");
  EXPECT_EQ(RunCli({"sql", path_,
                    "Select Data, Category, Total, Item, trelva_Group_ID From "
                    "Users Order By Data"})
                .out,
            "2026/1/31\t居住\t3000\t\t2\n2026/2/3\t其他\t0\tO'Brien\t3\n"
            "2026/2/17\t其他\t0\tO'Brien\t3\n2026/2/28\t居住\t3000\t\t2\n");

  EXPECT_EQ(Recurring({"pause", "1"}).status, 0);
  EXPECT_EQ(RunCli({"due", path_, "--until", "2026-12-31"}).out, "");
  EXPECT_EQ(Recurring({"resume", "1"}).status, 0);
  EXPECT_EQ(Recurring({}).out, "1\t房租\t2\t每月\t2026-03-31\t进行中\n"
                               "2\tO'Brien\t3\t每2周\t\t已结束\n");
  EXPECT_EQ(Recurring({"delete", "2"}).status, 0);
  ExpectRefused(Recurring({"delete", "2"}), "没有 ID 为 2 的定期记录");
  ExpectRefused(Recurring({"pause", "x"}), "定期记录 ID应为整数：x");
  EXPECT_EQ(Recurring({}).out, "1\t房租\t2\t每月\t2026-03-31\t进行中\n");
}

TEST_F(RecurringCliTest, BadInputChangesNothing) {
  const QStringList base = {"add", "x", "--group", "2", "--from", "2026-01-31"};
  ExpectRefused(Recurring(base + QStringList{"--every", "0", "days"}),
                "周期必须至少为 1（每 0 天）");
  ExpectRefused(Recurring(base + QStringList{"--every", "1", "days", "--until",
                                             "2026-01-30"}),
                "结束日期 2026-01-30 早于开始日期 2026-01-31");
  ExpectRefused(Recurring(base + QStringList{"--every", "1", "fortnights"}),
                "周期单位应为 days、weeks、months 或 years：fortnights");
  ExpectRefused(Recurring({"add", "x", "--group", "99", "--every", "1", "days",
                           "--from", "2026-01-31"}),
                "没有 ID 为 99 的分组");
  ExpectRefused(Recurring(base + QStringList{"--every", "1", "days", "Nope=1"}),
                "没有名为“Nope”的字段");
  ExpectRefused(Recurring({"add", "x", "--group", "2", "--every", "1", "days",
                           "--from", "2026-02-30"}),
                "--from 应为 YYYY-MM-DD 形式的日期：2026-02-30");
  // A date no record may have is refused as a record's date is.
  ExpectRefused(Recurring({"add", "x", "--group", "2", "--every", "1", "days",
                           "--from", "0001-01-01"}),
                "开始日期 0001-01-01：日期格式不正确");
  ExpectRefused(Recurring(base + QStringList{"--every", "1", "days",
                                             "Amount=1e309"}),
                "定期记录“x”的值无法计算");
  ExpectRefused(RunCli({"due", path_, "--until", "tomorrow"}),
                "--until 应为 YYYY-MM-DD 形式的日期：tomorrow");
  EXPECT_EQ(Recurring({}).out, "");
}
