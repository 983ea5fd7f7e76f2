// The records query of a group and reading its rows as texts in the order
// of the file's column list.
#include "record_test_file.h"

#include "model/column_list.h"
#include "records/records_query.h"

namespace {

using RecordsQueryTest = RecordFileTest;

// Every row the query reads as "ID|Item|Memo", taken from its buffer.
QStringList ReadAll(RecordsQuery &query, const ColumnList &columns) {
  const int id = columns.PositionOf("ID");
  const int item = columns.PositionOf("Item");
  const int memo = columns.PositionOf("Memo");
  QStringList rows;
  while (query.ReadRow()) {
    EXPECT_EQ(query.Ends().size(), size_t(columns.Size()));
    EXPECT_EQ(query.Ends().back(), quint32(query.Chars().size()));
    rows.append(QStringList({query.Text(id).toString(),
                             query.Text(item).toString(),
                             query.Text(memo).toString()})
                    .join('|'));
  }
  return rows;
}

TEST_F(RecordsQueryTest, ReadsTheGroupsRecordsUnderTheFilterInKeyOrder) {
  RawSql("INSERT INTO Users (ID, Amount, Item, Memo, trelva_Group_ID) VALUES "
         "(7, 5, 'O''Brien', 'm7', 2), (3, 9, 'b', '', 2), (5, 0, 'out', '', 2),"
         " (4, 8, 'other group', 'm4', 3)");
  const ColumnList &columns = file_.Columns();
  const QString key = columns.KeyFieldName();
  RecordsQuery query(Session(), columns);

  EXPECT_EQ(query.Run(GroupRecordsQueryText(2, "Amount > 1", key)), 2);
  EXPECT_FALSE(query.Failed());
  EXPECT_EQ(ReadAll(query, columns), QStringList({"3|b|", "7|O'Brien|m7"}));
  EXPECT_EQ(query.Run(GroupRecordsQueryText(3, "", key)), 1);
  EXPECT_EQ(ReadAll(query, columns), QStringList({"4|other group|m4"}));

  // Result columns in another order than the list's, some missing: each
  // text lands at its list column, the missing ones empty.
  EXPECT_EQ(query.Run("Select Memo, trelva_Group_ID, Amount As Item, ID "
                      "From Users Where ID=7"),
            1);
  ASSERT_TRUE(query.ReadRow());
  EXPECT_EQ(query.Text(columns.PositionOf("ID")), QString("7"));
  EXPECT_EQ(query.Text(columns.PositionOf("Item")), QString("5"));
  EXPECT_EQ(query.Text(columns.PositionOf("Amount")), QString());
  EXPECT_EQ(query.Text(columns.PositionOf("Memo")), QString("m7"));

  // No rows is no failure; a query that does not run is.
  EXPECT_EQ(query.Run(GroupRecordsQueryText(4, "", key)), 0);
  EXPECT_FALSE(query.Failed());
  EXPECT_FALSE(query.ReadRow());
  EXPECT_EQ(query.Run(GroupRecordsQueryText(2, "NoSuchField > 1", key)), 0);
  EXPECT_TRUE(query.Failed());
  EXPECT_TRUE(prompt_.Texts().isEmpty());
}

} // namespace
