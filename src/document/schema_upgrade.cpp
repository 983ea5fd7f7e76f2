// Brings an account file of the older layout up to the current one: the
// group tree, the group column of Users, the saved filter table with the old
// result-display settings moved into it, and the version table. Tables added
// later (the import rules, the budget) are added to files that lack them.
#include "document/schema_upgrade.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "groups/filter_set_store.h"

#include <QString>

namespace {

// Steps 1 to 7: each must succeed, or the upgrade stops.
const char *const kSchemaSteps[] = {
    "Alter Table TableStyle Add Column [默认值] varchar(50)",
    "Create Table [Group] ([ID] int Primary Key, [parentID] int, [SortID] int "
    "default 0, [Title] text null, [State] int default 0, [NodeKind] int  "
    "default 0)",
    "Insert Into [Group] ([ID], [parentID], [SortID], [Title], [State], "
    "[NodeKind]) Values (1, -1, 0, '家庭账本', 0, 0)",
    "Insert Into [Group] ([ID], [parentID], [SortID], [Title], [State], "
    "[NodeKind]) Values (2, 1, 0, '缺省分组', 2, 1)",
    "Alter Table Users Add Column [trelva_Group_ID] int",
    "Update Users Set [trelva_Group_ID]=2",
    "Create Table [FilterMemory] ([ID] COUNTER Primary Key, [ClassID] int, "
    "[Title] text null, [flValue] Image)",
};

// Steps 1 to 12; false at the first step that stops the upgrade.
bool RunUpgradeSteps(CDBVisiter &session) {
  for (const char *sql : kSchemaSteps)
    if (!session.Execute(QString::fromUtf8(sql)))
      return false;

  // The old result-display settings become saved sets; their outcome is not
  // checked, and the old tables go whether they existed or not.
  ConvertOldResultTables(session);
  {
    SilentPrompt silent;
    ScopedPrompt quiet(silent);
    session.Execute(QStringLiteral("Drop Table ResultShowItem"));
    session.Execute(QStringLiteral("Drop Table ResultShowLimit"));
  }

  if (!session.Execute(QStringLiteral(
          "Create Table T_VersionControl ([VersionNumber] int Primary Key, "
          "[VersionDate] datetime default date(), [Remark] text null)")))
    return false;
  return session.Execute(QString::fromUtf8(
      "Insert Into T_VersionControl (VersionNumber, Remark) Values (1, "
      "'一次比较大的改动')"));
}

bool HasTable(CDBVisiter &session, const QString &table) {
  const bool found =
      session.Query(QStringLiteral("Select Count(*) From [%1]").arg(table)) > 0;
  session.CloseResult();
  return found;
}

// The rules that set values of imported lines; an older build never reads
// the table and leaves it alone.
bool AddImportRuleTable(CDBVisiter &session) {
  if (HasTable(session, QStringLiteral("ImportRule")))
    return true;
  return session.Execute(QStringLiteral(
      "Create Table [ImportRule] ([ID] int Primary Key, [SortID] int, "
      "[SourceColumn] text null, [Condition] int default 0, [MatchText] "
      "text null, [TargetField] text null, [TargetValue] text null, "
      "[LastMatches] int default 0)"));
}

// The budget: amounts per option of an option column and month; an older
// build never reads the table and leaves it alone.
bool AddBudgetTable(CDBVisiter &session) {
  if (HasTable(session, QStringLiteral("Budget")))
    return true;
  return session.Execute(QStringLiteral(
      "Create Table [Budget] ([SortID] int, [ByField] text null, [SumField] "
      "text null, [Option] text null, [Month] text null, [Amount] float)"));
}

// Whether the tables added after the version table are all there.
bool HasEveryLaterTable(CDBVisiter &session) {
  return HasTable(session, QStringLiteral("ImportRule")) &&
         HasTable(session, QStringLiteral("Budget"));
}

// All steps or none: an upgrade that stopped half-way would otherwise fail
// at its first step on every later open, and the file would never load.
bool RunInOneUnit(CDBVisiter &session, bool oldLayout) {
  if (!session.BeginTransaction())
    return false;
  if ((oldLayout && !RunUpgradeSteps(session)) ||
      !AddImportRuleTable(session) || !AddBudgetTable(session)) {
    session.RollbackTransaction();
    return false;
  }
  return session.CommitTransaction();
}

} // namespace

bool UpgradeSchema(CDBVisiter &session) {
  // The presence of the version table decides, not the number in it.
  const bool oldLayout = !HasTable(session, QStringLiteral("T_VersionControl"));
  if (!oldLayout && HasEveryLaterTable(session))
    return true;
  // A file opened for viewing is read as it is: without the rule or budget
  // table it simply has no rules or budget.
  if (!oldLayout && session.IsReadOnly())
    return true;
  return RunInOneUnit(session, oldLayout);
}
