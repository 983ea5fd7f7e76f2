// Saved filter sets in FilterMemory: insert, update, load by class, delete,
// broken streams skipped on load, and the conversion of the old tables.
#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "groups/filter_set_store.h"
#include "groups/filter_set_stream.h"
#include "support/test_file.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

FilterSet MakeSet(int classId, const QString &title) {
  FilterSet set;
  set.classId = classId;
  set.title = title;
  FilterCondition amount;
  amount.fieldName = QStringLiteral("Amount");
  amount.numbers = {1.5, 99};
  set.conditions.append(amount);
  FilterCondition kind;
  kind.enabled = 0;
  kind.fieldName = QStringLiteral("Kind");
  kind.texts = {QStringLiteral("餐饮"), QStringLiteral("it's")};
  set.conditions.append(kind);
  return set;
}

class FilterSetStoreTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(file_.Valid()); }

  CDBVisiter &Session() { return file_.Session(); }

  // Replaces the stored stream of row id by bytes.
  void PutBlob(int id, const QByteArray &bytes) {
    ASSERT_NE(Session().Query(
                  QStringLiteral("Select * From FilterMemory Where ID=%1").arg(id)),
              0);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ASSERT_TRUE(Session().WriteBlob(buffer, "flValue"));
    ASSERT_TRUE(Session().Update());
    Session().CloseResult();
  }

  TestFile file_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

TEST_F(FilterSetStoreTest, InsertedSetsLoadBackByClass) {
  FilterSet first = MakeSet(FSC_FILTER_PANE, QStringLiteral("O'Brien's 模板"));
  FilterSet second = MakeSet(FSC_FILTER_PANE, QStringLiteral("第二"));
  FilterSet other = MakeSet(FSC_BAR_SETUP, QStringLiteral("柱状"));
  ASSERT_TRUE(InsertFilterSet(Session(), first));
  ASSERT_TRUE(SaveFilterSet(Session(), second)); // ID -1: inserted
  ASSERT_TRUE(SaveFilterSet(Session(), other));
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Last());
  EXPECT_GT(first.id, 0);
  EXPECT_GT(second.id, first.id);
  EXPECT_TRUE(FilterSetExists(Session(), first));
  EXPECT_EQ(file_.Cell(QStringLiteral("Select Title From FilterMemory Where ID=%1")
                           .arg(first.id)),
            first.title);

  const QList<FilterSet> sets = LoadFilterSets(Session(), FSC_FILTER_PANE);
  ASSERT_EQ(sets.size(), 2);
  EXPECT_EQ(sets[0], first);
  EXPECT_EQ(sets[1], second);
  EXPECT_EQ(LoadFilterSets(Session(), FSC_BAR_SETUP), QList<FilterSet>{other});
  EXPECT_TRUE(LoadFilterSets(Session(), FSC_PIE_SETUP).isEmpty());
}

TEST_F(FilterSetStoreTest, SaveUpdatesAStoredSet) {
  FilterSet set = MakeSet(FSC_FILTER_PANE, QStringLiteral("月"));
  ASSERT_TRUE(SaveFilterSet(Session(), set));
  const int id = set.id;
  set.title = QStringLiteral("月'度");
  set.classId = FSC_PIE_SETUP;
  set.conditions.removeFirst();
  ASSERT_TRUE(SaveFilterSet(Session(), set));
  EXPECT_EQ(set.id, id);
  EXPECT_EQ(file_.Cell("Select Count(*) From FilterMemory"), "1");
  EXPECT_EQ(LoadFilterSets(Session(), FSC_PIE_SETUP), QList<FilterSet>{set});
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Last());
}

TEST_F(FilterSetStoreTest, StreamTitleWinsAndEmptyBlobsLoadBare) {
  FilterSet set = MakeSet(FSC_FILTER_PANE, QStringLiteral("流中标题"));
  ASSERT_TRUE(InsertFilterSet(Session(), set));
  ASSERT_TRUE(Session().Execute(
      QStringLiteral("Update FilterMemory Set [Title]='列中标题' Where ID=%1")
          .arg(set.id)));
  ASSERT_TRUE(Session().Execute(
      "Insert Into FilterMemory ([ClassID], [Title])  Values (1,'无条件')"));

  const QList<FilterSet> sets = LoadFilterSets(Session(), FSC_FILTER_PANE);
  ASSERT_EQ(sets.size(), 2);
  EXPECT_EQ(sets[0].title, "流中标题");
  EXPECT_EQ(sets[1].title, "无条件");
  EXPECT_TRUE(sets[1].conditions.isEmpty());
}

TEST_F(FilterSetStoreTest, BrokenStreamsAreSkipped) {
  FilterSet good = MakeSet(FSC_FILTER_PANE, QStringLiteral("好"));
  FilterSet cut = MakeSet(FSC_FILTER_PANE, QStringLiteral("截断"));
  FilterSet huge = MakeSet(FSC_FILTER_PANE, QStringLiteral("巨大"));
  ASSERT_TRUE(SaveFilterSet(Session(), cut));
  ASSERT_TRUE(SaveFilterSet(Session(), good));
  ASSERT_TRUE(SaveFilterSet(Session(), huge));
  const QByteArray bytes = WriteFilterSetStream(cut);
  PutBlob(cut.id, bytes.left(bytes.size() - 3));
  PutBlob(huge.id, QByteArray::fromHex("01000000fffeff00ffffff7f"));

  EXPECT_EQ(LoadFilterSets(Session(), FSC_FILTER_PANE), QList<FilterSet>{good});
}

TEST_F(FilterSetStoreTest, DeleteRemovesOneRow) {
  FilterSet a = MakeSet(FSC_FILTER_PANE, "a");
  FilterSet b = MakeSet(FSC_FILTER_PANE, "b");
  ASSERT_TRUE(SaveFilterSet(Session(), a));
  ASSERT_TRUE(SaveFilterSet(Session(), b));
  ASSERT_TRUE(DeleteFilterSet(Session(), a.id));
  EXPECT_FALSE(FilterSetExists(Session(), a));
  EXPECT_EQ(LoadFilterSets(Session(), FSC_FILTER_PANE), QList<FilterSet>{b});
  EXPECT_TRUE(DeleteFilterSet(Session(), 12345));
}

class OldResultTablesTest : public FilterSetStoreTest {
protected:
  OldResultTablesTest() : old_(TestFile::OldResultTables()) {}
  TestFile old_;
};

TEST_F(OldResultTablesTest, BecomeThreeSetsNamedSetting1) {
  ASSERT_TRUE(old_.Valid());
  CDBVisiter &session = old_.Session();
  for (const char *sql :
       {"Insert Into ResultShowItem (GroupID, FieldName) Values (0, 'Total')",
        "Insert Into ResultShowItem (GroupID, FieldName) Values (0, 'Amount')",
        "Insert Into ResultShowItem (GroupID, FieldName) Values (1, 'Count')",
        "Insert Into ResultShowLimit (GroupID, KeyName, SelInfo) Values (0, "
        "'Kind', '餐饮||交通|')",
        "Insert Into ResultShowLimit (GroupID, KeyName, SelInfo) Values (1, "
        "'Payment', 'O''Brien')",
        "Insert Into ResultShowLimit (GroupID, KeyName, SelInfo) Values (5, "
        "'Other', 'x')"})
    ASSERT_TRUE(session.Execute(QString::fromUtf8(sql))) << sql;
  ASSERT_TRUE(ConvertOldResultTables(session));

  EXPECT_EQ(old_.Rows("Select ID, ClassID, Title From FilterMemory Order By ID"),
            (QStringList{"1|2|设置1", "2|3|设置1", "3|1|设置1"}));

  const QList<FilterSet> bar = LoadFilterSets(session, FSC_BAR_SETUP);
  ASSERT_EQ(bar.size(), 1);
  // One condition per field name and kind: the first summed column stays.
  ASSERT_EQ(bar[0].conditions.size(), 2);
  const FilterCondition &sum = bar[0].conditions[0];
  EXPECT_EQ(sum.kind, CK_SUM);
  EXPECT_EQ(sum.enabled, 1);
  EXPECT_TRUE(sum.fieldName.isEmpty());
  EXPECT_EQ(sum.texts, QStringList{"Total"});
  const FilterCondition &kind = bar[0].conditions[1];
  EXPECT_EQ(kind.kind, CK_COLUMN);
  EXPECT_EQ(kind.enabled, 1);
  EXPECT_EQ(kind.fieldName, "Kind");
  EXPECT_EQ(kind.texts, (QStringList{"餐饮", "交通"}));

  const QList<FilterSet> pie = LoadFilterSets(session, FSC_PIE_SETUP);
  ASSERT_EQ(pie.size(), 1);
  ASSERT_EQ(pie[0].conditions.size(), 2);
  EXPECT_EQ(pie[0].conditions[0].texts, QStringList{"Count"});
  EXPECT_EQ(pie[0].conditions[1].texts, QStringList{"O'Brien"});

  const QList<FilterSet> filter = LoadFilterSets(session, FSC_FILTER_PANE);
  ASSERT_EQ(filter.size(), 1);
  EXPECT_TRUE(filter[0].conditions.isEmpty());
}

} // namespace
