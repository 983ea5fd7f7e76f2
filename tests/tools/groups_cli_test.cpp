// sorvanel-cli groups: the tree of an account file, upgraded when older.
#include "cli_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(GroupsCli, PrintsTheIndentedTree) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("book.fz");
  ASSERT_EQ(RunCli({"new", path}).status, 0);
  for (const char *sql :
       {"Insert Into [Group] ([ID], [parentID], [SortID], [Title], [State], "
        "[NodeKind]) Values (6, 5, 0, 'O''Brien 的组', 1, 1)",
        "Insert Into Users ([ID], [trelva_Group_ID]) Values (12, 6)",
        "Insert Into Users ([ID], [trelva_Group_ID]) Values (3, 6)"})
    ASSERT_EQ(RunCli({"sql", path, sql}).status, 0) << sql;

  const CliResult tree = RunCli({"groups", path});
  ASSERT_EQ(tree.status, 0) << qPrintable(tree.err);
  EXPECT_EQ(tree.out, "1\t筛选器\t0\t家庭账本\t0\n"
                      "  2\t组\t2\t缺省分组\t0\n"
                      "  3\t组\t0\t日常开销\t0\n"
                      "  4\t组\t0\t人情往来\t0\n"
                      "  5\t组\t0\t旅行\t0\n"
                      "    6\t组\t1\tO'Brien 的组\t12\n");

  // An older file is upgraded on the way.
  const QString old = dir.filePath("old.fz");
  ASSERT_EQ(RunCli({"new", old, "--template", "旧版简易账本"}).status, 0);
  EXPECT_EQ(RunCli({"groups", old}).out,
            "1\t筛选器\t0\t家庭账本\t0\n  2\t组\t2\t缺省分组\t3\n");
}

TEST(GroupsCli, FilesThatDoNotOpenFail) {
  QTemporaryDir dir;
  const CliResult missing = RunCli({"groups", dir.filePath("none.fz")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_FALSE(missing.err.isEmpty());
  EXPECT_TRUE(missing.out.isEmpty());
  EXPECT_EQ(RunCli({"groups"}).status, 1);
}

} // namespace
