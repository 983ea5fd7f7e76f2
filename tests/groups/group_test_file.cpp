// Test fixtures of the group and filter tests.
#include "group_test_file.h"

#include "db/db_visiter_factory.h"
#include "document/group_edits.h"
#include "groups/group_tree.h"
#include "support/query_rows.h"
#include "support/template_copy.h"

void GroupFileTest::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  path_ = CopyTemplate(dir_, QStringLiteral("家庭账本"), QStringLiteral("groups"));
  ASSERT_TRUE(file_.OpenAccountFile(path_));
  ASSERT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
}

void GroupFileTest::TearDown() { CDBVisiterFactory::Instance().DestroyAll(); }

QStringList GroupFileTest::Rows(const QString &sql) {
  return QueryRows(Session(), sql);
}

QStringList GroupFileTest::GroupRows() {
  return Rows("Select ID, parentID, SortID, Title, State, NodeKind From [Group] "
              "Order By ID");
}

void GroupFileTest::AddRecords(int groupId, std::initializer_list<int> keys) {
  for (const int key : keys)
    ASSERT_TRUE(Session().Execute(
        QStringLiteral("Insert Into Users ([ID], [Amount], [trelva_Group_ID]) "
                       "Values (%1, %1, %2)")
            .arg(key)
            .arg(groupId)));
}

QList<int> GroupFileTest::RecordKeys(int groupId) {
  QList<int> keys;
  for (const QString &row :
       Rows(QStringLiteral("Select ID From Users Where trelva_Group_ID=%1 "
                           "Order By ID")
                .arg(groupId)))
    keys.append(row.toInt());
  return keys;
}

void GroupFileTest::Reload() { LoadGroupTree(file_); }

GroupNode &GroupFileTest::Node(int id) {
  GroupNode *node = FindGroupNode(file_.Root(), id);
  EXPECT_NE(node, nullptr) << "no node " << id;
  return node ? *node : file_.Root();
}

RecordingSession::RecordingSession(CDBVisiter &inner)
    : CDBVisiter(inner.DataSource()), inner_(inner) {}

int RecordingSession::Query(const QString &sql) {
  queried.append(sql);
  return inner_.Query(sql);
}

int RecordingSession::QueryReadOnly(const QString &sql) {
  queried.append(sql);
  return inner_.QueryReadOnly(sql);
}

QString RecordingSession::QueryError() const { return inner_.QueryError(); }

bool RecordingSession::Execute(const QString &sql) {
  executed.append(sql);
  return inner_.Execute(sql);
}

int RecordingSession::QueryTable(const QString &table) {
  return inner_.QueryTable(table);
}

unsigned RecordingSession::Count(const QString &table, QString where) {
  return inner_.Count(table, where);
}

bool RecordingSession::GetValue(QVariant &out, int position, bool step) {
  return inner_.GetValue(out, position, step);
}

bool RecordingSession::GetValue(QVariant &out, const QString &name, bool step) {
  return inner_.GetValue(out, name, step);
}

QString RecordingSession::GetString(const QString &name) { return inner_.GetString(name); }
QString RecordingSession::GetString(int position) { return inner_.GetString(position); }
int RecordingSession::GetInt(const QString &name) { return inner_.GetInt(name); }
int RecordingSession::GetInt(int position) { return inner_.GetInt(position); }
bool RecordingSession::GetBool(const QString &name) { return inner_.GetBool(name); }
bool RecordingSession::GetBool(int position) { return inner_.GetBool(position); }
double RecordingSession::GetDouble(const QString &name) { return inner_.GetDouble(name); }
double RecordingSession::GetDouble(int position) { return inner_.GetDouble(position); }
int RecordingSession::GetFieldNames(QStringList &names) { return inner_.GetFieldNames(names); }
bool RecordingSession::MoveNext() { return inner_.MoveNext(); }
