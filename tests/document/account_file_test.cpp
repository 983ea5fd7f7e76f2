// Opening account files: the current layout loads as it is, the older one is
// upgraded, files that are no account files are refused untouched.
#include "base/scripted_prompt.h"
#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "storage/file_lock.h"
#include "groups/filter_set_store.h"
#include "groups/group_node.h"
#include "document/account_file.h"
#include "support/query_rows.h"
#include "support/scoped_current_dir.h"
#include "support/template_copy.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

const QString kHousehold = QStringLiteral("家庭账本");
const QString kOld = QStringLiteral("旧版简易账本");

class AccountFileTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  void TearDown() override { CDBVisiterFactory::Instance().DestroyAll(); }

  // A fresh copy of a built template.
  QString Copy(const QString &name, const QString &as = QString()) {
    return CopyTemplate(dir_, name, as.isEmpty() ? name : as);
  }

  QStringList Rows(AccountFile &file, const QString &sql) {
    return QueryRows(*file.Session(), sql);
  }

  QTemporaryDir dir_;
  ScopedCurrentDir inDir_{dir_.path()};
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
};

class RecordingListener : public AccountFileListener {
public:
  RecordingListener(QStringList &log, QString name) : log_(log), name_(std::move(name)) {}
  void Notify(AccountFile &, unsigned hint) override {
    log_.append(name_ + ':' + QString::number(hint, 16));
  }

private:
  QStringList &log_;
  QString name_;
};

TEST_F(AccountFileTest, CurrentLayoutLoadsWithoutChange) {
  AccountFile file;
  QStringList log;
  RecordingListener first(log, "a"), second(log, "b");
  file.AddListener(&first);
  file.AddListener(&second);
  ASSERT_TRUE(file.OpenAccountFile(Copy(kHousehold)));
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
  EXPECT_EQ(log, (QStringList{"a:ffff", "b:ffff"}));

  const ColumnList &columns = file.Columns();
  ASSERT_EQ(columns.Size(), 10);
  EXPECT_EQ(columns.KeyFieldName(), "ID");
  EXPECT_EQ(columns.FieldName(1), "Data");
  EXPECT_EQ(columns.Type(1), int(FT_AUTODATE));
  EXPECT_EQ(columns.DatePosition(), 1);
  EXPECT_EQ(columns.DefaultValue(columns.PositionOf("total")), "Amount*Count");
  EXPECT_EQ(columns.At(3).Choices(),
            (QStringList{"餐饮", "交通", "购物", "居住", "医疗", "其他"}));

  const GroupNode &root = file.Root();
  ASSERT_EQ(root.children.size(), 1u);
  const GroupNode &book = *root.children[0];
  EXPECT_EQ(book.title, "家庭账本");
  EXPECT_EQ(book.nodeKind, int(NK_FOLDER));
  ASSERT_GE(book.children.size(), 2u);
  EXPECT_EQ(book.children[0]->title, "缺省分组");
  EXPECT_EQ(book.children[0]->state, unsigned(GS_SELECTED));
  EXPECT_GE(file.LargestGroupId(), 2);

  EXPECT_FALSE(file.Settings().mainShowTip.isEmpty());
  ASSERT_FALSE(file.Views().views.isEmpty());
  EXPECT_EQ(file.Views().views.first().name, "主视图");
  EXPECT_TRUE(Rows(file, "Select * From FilterMemory").isEmpty());

  file.RemoveListener(&first);
  file.Notify(6);
  EXPECT_EQ(log.last(), "b:6");
  EXPECT_EQ(log.size(), 3);
}

TEST_F(AccountFileTest, OlderLayoutIsUpgradedOnce) {
  const QString path = Copy(kOld);
  {
    AccountFile file;
    ASSERT_TRUE(file.OpenAccountFile(path));
    EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
    EXPECT_EQ(Rows(file, "Select ID, trelva_Group_ID From Users Order By ID"),
              (QStringList{"1|2", "2|2", "3|2"}));
    EXPECT_EQ(Rows(file, "Select ID, parentID, SortID, Title, State, NodeKind "
                         "From [Group] Order By ID"),
              (QStringList{"1|-1|0|家庭账本|0|0", "2|1|0|缺省分组|2|1"}));
    EXPECT_EQ(Rows(file, "Select ClassID, Title From FilterMemory Order By ID"),
              (QStringList{"2|设置1", "3|设置1", "1|设置1"}));
    const QString today = QDate::currentDate().toString("yyyy/M/d");
    EXPECT_EQ(Rows(file, "Select VersionNumber, VersionDate, Remark From T_VersionControl"),
              (QStringList{"1|" + today + "|一次比较大的改动"}));
    // The old tables are gone.
    EXPECT_EQ(file.Session()->Query("Select * From ResultShowItem"), 0);
    EXPECT_FALSE(file.Session()->IsResultOpen());
    EXPECT_EQ(file.Columns().Size(), 5);
    EXPECT_EQ(file.Root().children.size(), 1u);
    EXPECT_EQ(Rows(file, "Select Count(*) From ImportRule"), QStringList{"0"});

    // The pie chart set-up (class 3) came from the old group 1.
    const QList<FilterSet> sets = LoadFilterSets(*file.Session(), 3);
    ASSERT_EQ(sets.size(), 1);
    ASSERT_EQ(sets[0].conditions.size(), 2);
    EXPECT_EQ(sets[0].conditions[0].kind, 14);
    EXPECT_EQ(sets[0].conditions[0].texts, QStringList{"Amount"});
    EXPECT_EQ(sets[0].conditions[1].kind, 13);
    EXPECT_EQ(sets[0].conditions[1].fieldName, "Category");
    EXPECT_EQ(sets[0].conditions[1].texts, (QStringList{"餐饮", "交通", "购物"}));
  }
  CDBVisiterFactory::Instance().DestroyAll();

  // A second open finds the version table and changes nothing.
  AccountFile again;
  ASSERT_TRUE(again.OpenAccountFile(path));
  EXPECT_TRUE(prompt_.Texts().isEmpty());
  EXPECT_EQ(Rows(again, "Select Count(*) From FilterMemory"), QStringList{"3"});
}

// Opening for reading never writes: the session is read-only, a WAL file
// stays WAL, closing does not compact. An older file is upgraded once first,
// under its lock, which goes again.
TEST_F(AccountFileTest, ReadingNeverWrites) {
  const QString path = Copy(kHousehold);
  sqlite3 *db = nullptr;
  ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  {
    AccountFile file;
    ASSERT_TRUE(file.OpenAccountFile(path, AccountFile::ForReading));
    EXPECT_EQ(sqlite3_db_readonly(file.Session()->GetConnection(), "main"), 1);
    SilentPrompt silent;
    ScopedPrompt quiet(silent);
    EXPECT_FALSE(file.Session()->Execute(
        "Insert Into Users ([ID], [trelva_Group_ID]) Values (99, 2)"));
    file.Close();
  }
  // Bytes 18 and 19 of the header are 2 in a WAL file.
  QFile header(path);
  ASSERT_TRUE(header.open(QIODevice::ReadOnly));
  EXPECT_EQ(header.read(20).mid(18), QByteArray("\x02\x02"));

  const QString old = Copy(kOld);
  AccountFile reader;
  ASSERT_TRUE(reader.OpenAccountFile(old, AccountFile::ForReading));
  EXPECT_EQ(sqlite3_db_readonly(reader.Session()->GetConnection(), "main"), 1);
  EXPECT_EQ(Rows(reader, "Select ID, trelva_Group_ID From Users Order By ID"),
            (QStringList{"1|2", "2|2", "3|2"}));
  EXPECT_FALSE(QFile::exists(AccountFileLock::LockFilePath(old)));
}

// The import rule table came after the version table: a current file
// without it gets it when opened for writing, in one unit of work, and
// stays as it is when opened for viewing.
TEST_F(AccountFileTest, TheRuleTableIsAddedOnlyWhenTheFileMayChange) {
  const QString path = Copy(kHousehold);
  {
    CDBVisiter *session = CDBVisiterFactory::Instance().GetVisiter(path);
    ASSERT_TRUE(session);
    ASSERT_TRUE(session->Execute("Drop Table ImportRule"));
    CDBVisiterFactory::Instance().RemoveVisiter(path);
  }
  {
    AccountFile viewer;
    ASSERT_TRUE(viewer.OpenAccountFile(path, AccountFile::ForReading));
    EXPECT_EQ(viewer.Session()->Query("Select * From ImportRule"), 0);
    EXPECT_FALSE(viewer.Session()->QueryError().isEmpty());
  }
  {
    AccountFile file;
    ASSERT_TRUE(file.OpenAccountFile(path));
    ASSERT_TRUE(file.Session()->Execute(
        "Insert Into ImportRule ([ID], [SortID], [SourceColumn], "
        "[MatchText]) Values (1, 1, '交易对方', 'O''Brien')"));
    file.Close();
  }
  // The next open finds the table and keeps what it holds.
  AccountFile again;
  ASSERT_TRUE(again.OpenAccountFile(path));
  EXPECT_EQ(Rows(again, "Select SourceColumn, Condition, MatchText, "
                        "LastMatches From ImportRule"),
            QStringList{"交易对方|0|O'Brien|0"});
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
}

// The budget table came after the rule table: a file that has the rules
// but no budget gets the budget table, and its rules stay; a file opened
// for viewing is read without it.
TEST_F(AccountFileTest, TheBudgetTableIsAddedBesideTheRuleTable) {
  const QString path = Copy(kHousehold);
  {
    CDBVisiter *session = CDBVisiterFactory::Instance().GetVisiter(path);
    ASSERT_TRUE(session);
    {
      SilentPrompt silent; // the templates may lack the table
      ScopedPrompt quiet(silent);
      session->Execute("Drop Table [Budget]");
    }
    ASSERT_TRUE(session->Execute(
        "Insert Into ImportRule ([ID], [SortID], [MatchText]) Values (1, 1, 'x')"));
    CDBVisiterFactory::Instance().RemoveVisiter(path);
  }
  {
    AccountFile viewer;
    ASSERT_TRUE(viewer.OpenAccountFile(path, AccountFile::ForReading));
    EXPECT_EQ(viewer.Session()->Query("Select * From [Budget]"), 0);
    EXPECT_FALSE(viewer.Session()->QueryError().isEmpty());
  }
  AccountFile file;
  ASSERT_TRUE(file.OpenAccountFile(path));
  EXPECT_EQ(Rows(file, "Select Count(*) From [Budget]"), QStringList{"0"});
  EXPECT_EQ(Rows(file, "Select MatchText From ImportRule"), QStringList{"x"});
}

TEST_F(AccountFileTest, UpgradeStopsAtTheFirstFailingStep) {
  // An older file whose TableStyle already has 默认值 cannot take step 1.
  const QString path = Copy(kOld);
  {
    CDBVisiter *session = CDBVisiterFactory::Instance().GetVisiter(path);
    ASSERT_TRUE(session);
    ASSERT_TRUE(session->Execute("Alter Table TableStyle Add Column [默认值] varchar(50)"));
    CDBVisiterFactory::Instance().RemoveVisiter(path);
  }
  AccountFile file;
  EXPECT_FALSE(file.OpenAccountFile(path));
  EXPECT_EQ(prompt_.Texts().size(), 1);
  EXPECT_TRUE(file.Columns().IsEmpty());
}

TEST_F(AccountFileTest, AFailedUpgradeLeavesTheFileAsItWas) {
  // Step 5 cannot add a group column that is there already; the steps
  // before it must not stay behind, or no later open could pass step 1.
  const QString path = Copy(kOld);
  {
    CDBVisiter *session = CDBVisiterFactory::Instance().GetVisiter(path);
    ASSERT_TRUE(session);
    ASSERT_TRUE(session->Execute("Alter Table Users Add Column [trelva_Group_ID] int"));
  }
  {
    AccountFile file;
    EXPECT_FALSE(file.OpenAccountFile(path));
    EXPECT_EQ(prompt_.Texts().size(), 1);
    CDBVisiter &session = *CDBVisiterFactory::Instance().GetVisiter(path);
    EXPECT_EQ(session.Query("Select * From [Group]"), 0);
    EXPECT_FALSE(session.IsResultOpen());
    EXPECT_EQ(session.Query("Select [默认值] From TableStyle"), 0);
    EXPECT_FALSE(session.IsResultOpen());
    EXPECT_EQ(QueryRows(session, "Select Count(*) From ResultShowItem"), QStringList{"2"});
    ASSERT_TRUE(session.Execute("Alter Table Users drop Column [trelva_Group_ID]"));
    CDBVisiterFactory::Instance().RemoveVisiter(path);
  }
  // Once the cause is gone, the upgrade runs whole.
  AccountFile file;
  ASSERT_TRUE(file.OpenAccountFile(path));
  EXPECT_EQ(Rows(file, "Select Count(*) From FilterMemory"), QStringList{"3"});
}

TEST_F(AccountFileTest, AFailedOpenKeepsNothingOfThePreviousFile) {
  const QString good = Copy(kHousehold);
  const QString old = Copy(kOld);
  {
    CDBVisiter *session = CDBVisiterFactory::Instance().GetVisiter(old);
    ASSERT_TRUE(session->Execute("Alter Table TableStyle Add Column [默认值] varchar(50)"));
    CDBVisiterFactory::Instance().RemoveVisiter(old);
  }
  AccountFile file;
  ASSERT_TRUE(file.OpenAccountFile(good));
  ASSERT_FALSE(file.Columns().IsEmpty());
  EXPECT_FALSE(file.OpenAccountFile(old));
  EXPECT_TRUE(file.Columns().IsEmpty());
  EXPECT_TRUE(file.Root().children.empty());
  EXPECT_TRUE(file.Views().views.isEmpty());
}

TEST_F(AccountFileTest, MissingAndForeignFilesAreRefused) {
  AccountFile file;
  EXPECT_FALSE(file.OpenAccountFile(dir_.filePath("none.fz")));
  EXPECT_FALSE(file.OpenAccountFile(QString()));
  EXPECT_TRUE(prompt_.Texts().isEmpty());

  const QString garbage = dir_.filePath("garbage.fz");
  const QByteArray bytes = QByteArray("not an account file at all\n").repeated(100);
  {
    QFile out(garbage);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
  }
  EXPECT_FALSE(file.OpenAccountFile(garbage));
  EXPECT_FALSE(prompt_.Texts().isEmpty());
  EXPECT_FALSE(file.IsOpen());
  QFile in(garbage);
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  EXPECT_EQ(in.readAll(), bytes);
}

TEST_F(AccountFileTest, OpeningAnotherFileClosesTheFirst) {
  const QString first = Copy(kHousehold, "first");
  const QString second = Copy(kHousehold, "second");
  AccountFile file;
  ASSERT_TRUE(file.OpenAccountFile(first));
  ASSERT_TRUE(file.Session()->Execute("Insert Into Users ([ID], [trelva_Group_ID]) Values (1, 2)"));
  ASSERT_TRUE(file.OpenAccountFile(second));
  EXPECT_EQ(file.Path(), second);
  EXPECT_FALSE(QFile::exists("temp.mdb"));

  // The first file was closed and compacted with its record.
  AccountFile other;
  ASSERT_TRUE(other.OpenAccountFile(first));
  EXPECT_EQ(Rows(other, "Select ID From Users"), QStringList{"1"});
}

TEST_F(AccountFileTest, SwitchMovesToTheCopy) {
  const QString original = Copy(kHousehold, "original");
  AccountFile file;
  ASSERT_TRUE(file.OpenAccountFile(original));
  const QString copy = dir_.filePath("copy.fz");
  ASSERT_TRUE(QFile::copy(original, copy));
  ASSERT_TRUE(file.SwitchAccountFile(copy));
  EXPECT_EQ(file.Path(), copy);
  EXPECT_EQ(file.Session()->DataSource(), copy);
  EXPECT_FALSE(file.SwitchAccountFile(dir_.filePath("missing/x.fz")));
  EXPECT_EQ(file.Path(), copy);
  EXPECT_TRUE(file.IsOpen());
}

} // namespace

// A record edited (6) or the records shown changed (7) reach the budget
// page through its own bit; a chart's set-up alone does not.
TEST(ChangeHintTest, RecordChangesCarryTheBudgetBitForPages) {
  EXPECT_EQ(PageHint(6), 6u | HINT_BUDGET_SUMS);
  EXPECT_EQ(PageHint(7), 7u | HINT_BUDGET_SUMS);
  EXPECT_EQ(PageHint(HINT_BAR_SERIES), unsigned(HINT_BAR_SERIES));
  EXPECT_EQ(PageHint(HINT_PIE_SERIES), unsigned(HINT_PIE_SERIES));
  EXPECT_EQ(PageHint(HINT_GROUPS), unsigned(HINT_GROUPS));
  EXPECT_EQ(PageHint(HINT_ALL), unsigned(HINT_ALL));
}
