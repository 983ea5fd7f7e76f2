// The fixture of the record store tests.
#include "record_test_file.h"

#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "formula/evaluate_row.h"
#include "groups/group_tree.h"
#include "records/record_key.h"

#include <QFile>

#include <sqlite3.h>

void RecordFileTest::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  const QString source =
      QStringLiteral(SORVANEL_SYSTEM_DIR "/") + QStringLiteral("家庭账本.fz");
  path_ = dir_.filePath(QStringLiteral("records.fz"));
  ASSERT_TRUE(QFile::copy(source, path_)) << qPrintable(source);
  QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
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
  QStringList rows;
  if (!Session().Query(sql))
    return rows;
  QStringList names;
  const int columns = Session().GetFieldNames(names);
  do {
    QStringList cells;
    for (int i = 0; i < columns; ++i)
      cells.append(Session().GetString(i));
    rows.append(cells.join('|'));
  } while (Session().MoveNext());
  return rows;
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
  row.grid = grid;
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
