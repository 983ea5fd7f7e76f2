// The fixture of the record store tests.
#include "record_test_file.h"

#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "formula/evaluate_row.h"
#include "groups/group_tree.h"
#include "records/record_grid.h"
#include "records/record_key.h"
#include "support/query_rows.h"
#include "support/template_copy.h"

#include <sqlite3.h>

void RecordFileTest::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  path_ = CopyTemplate(dir_, QStringLiteral("家庭账本"), QStringLiteral("records"));
  ASSERT_TRUE(file_.OpenAccountFile(path_));
  ASSERT_TRUE(prompt_.Texts().isEmpty())
      << qPrintable(prompt_.Texts().join('\n'));
  file_.AddListener(&hints_);
}

void RecordFileTest::TearDown() {
  file_.RemoveListener(&hints_);
  CDBVisiterFactory::Instance().DestroyAll();
}

QStringList RecordFileTest::Rows(const QString &sql) {
  return QueryRows(Session(), sql);
}

QStringList RecordFileTest::Records() {
  return Rows("Select trelva_Group_ID, ID, Item, Amount, Count, Total, Memo "
              "From Users Order By trelva_Group_ID, ID");
}

QStringList RecordFileTest::Records(int groupId) {
  return Rows(QStringLiteral("Select ID, Item, Amount, Count, Total, Memo "
                             "From Users Where trelva_Group_ID=%1 Order By ID")
                  .arg(groupId));
}

void RecordFileTest::RawSql(const char *sql) {
  char *error = nullptr;
  const int rc =
      sqlite3_exec(Session().GetConnection(), sql, nullptr, nullptr, &error);
  EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
}

GroupNode &RecordFileTest::Group(int id) {
  GroupNode *node = FindGroupNode(file_.Root(), id);
  EXPECT_NE(node, nullptr) << "no group " << id;
  return node ? *node : file_.Root();
}

CRowItem RecordFileTest::NewRow(int groupId,
                                const QList<QPair<QString, QString>> &texts,
                                RecordGrid *grid) {
  CRowItem row = CRowItem::EmptyRow(file_, groupId);
  if (grid) {
    grid->AttachFile(&file_);
    row.gridNumber = grid->GridNumber();
  }
  for (const auto &[field, text] : texts) {
    FieldValueItem *item = row.Item(field);
    EXPECT_NE(item, nullptr) << qPrintable(field);
    if (item)
      item->text = text;
  }
  row.FillNewRowDefaults(TakeNewKey(&Group(groupId)));
  EvaluateRow(row.items);
  return row;
}

CRowItem RecordFileTest::StoredRow(int key, int groupId) {
  CRowItem row = CRowItem::EmptyRow(file_, groupId);
  EXPECT_TRUE(row.LoadFromDatabase(key, groupId))
      << "no record " << key << " in group " << groupId;
  return row;
}
