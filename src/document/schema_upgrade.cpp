// Brings an account file of the older layout up to the current one: the
// group tree, the group column of Users, the saved filter table with the old
// result-display settings moved into it, and the version table. Tables added
// later (the import rules, the recurring records, the budget) are added to
// files that lack them.
#include "document/schema_upgrade.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "db/unit_of_work.h"
#include "groups/filter_set_store.h"

#include <QString>

#include <iterator>
#include <vector>

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

// Tables added after the version table; an older build never reads them
// and leaves them alone. A file that lacks one of them gets it.
struct LaterTable {
  const char *name;
  const char *create;
};

const LaterTable kLaterTables[] = {
    // The rules that set values of imported lines.
    {"ImportRule",
     "Create Table [ImportRule] ([ID] int Primary Key, [SortID] int, "
     "[SourceColumn] text null, [Condition] int default 0, [MatchText] "
     "text null, [TargetField] text null, [TargetValue] text null, "
     "[LastMatches] int default 0)"},
    // The recurring records: a record's values, its group and rhythm, and
    // the date up to which its occurrences were made.
    {"RecurringRecord",
     "Create Table [RecurringRecord] ([ID] int Primary Key, [Title] text "
     "null, [GroupID] int, [FieldValues] text null, [RhythmUnit] int, "
     "[RhythmEvery] int, [FirstDate] text null, [EndKind] int default 0, "
     "[EndTimes] int default 0, [EndDate] text null, [AutoAdd] int default "
     "0, [Paused] int default 0, [MadeUpTo] text null)"},
    // The budget: amounts per option of an option column and month.
    {"Budget",
     "Create Table [Budget] ([SortID] int, [ByField] text null, [SumField] "
     "text null, [Option] text null, [Month] text null, [Amount] float)"},
    // The lines of imported bills: what each said (its number, moment,
    // amount, counterpart, payment method) and what became of it (a record,
    // or left out and why), so that the same payment is never stored twice,
    // whichever bill it comes in.
    {"BillSeen",
     "Create Table [BillSeen] ([Number] text null, [Merchant] text null, "
     "[Moment] text null, "
     "[Amount] float, [Side] int default 0, [Counterpart] text null, "
     "[Method] text null, [Goods] text null, [Bill] text null, [Line] int "
     "default 0, [Outcome] text null, [GroupID] int default 0, [RecordID] "
     "int default 0)"},
};

bool HasTable(CDBVisiter &session, const QString &table) {
  const bool found =
      session.Query(QStringLiteral("Select Count(*) From [%1]").arg(table)) > 0;
  session.CloseResult();
  return found;
}

// The later tables that the file lacks, by index into kLaterTables.
std::vector<size_t> MissingLaterTables(CDBVisiter &session) {
  std::vector<size_t> missing;
  for (size_t i = 0; i < std::size(kLaterTables); ++i)
    if (!HasTable(session, QString::fromUtf8(kLaterTables[i].name)))
      missing.push_back(i);
  return missing;
}

bool AddLaterTables(CDBVisiter &session, const std::vector<size_t> &missing) {
  for (size_t i : missing)
    if (!session.Execute(QString::fromUtf8(kLaterTables[i].create)))
      return false;
  return true;
}

// All steps or none: an upgrade that stopped half-way would otherwise fail
// at its first step on every later open, and the file would never load.
bool RunInOneUnit(CDBVisiter &session, bool oldLayout,
                  const std::vector<size_t> &missing) {
  UnitOfWork unit(&session);
  if (!unit.IsOpen() || (oldLayout && !RunUpgradeSteps(session)) ||
      !AddLaterTables(session, missing))
    return false;
  return unit.Commit();
}

} // namespace

bool UpgradeSchema(CDBVisiter &session) {
  // The presence of the version table decides, not the number in it.
  const bool oldLayout = !HasTable(session, QStringLiteral("T_VersionControl"));
  const std::vector<size_t> missing = MissingLaterTables(session);
  if (!oldLayout && missing.empty())
    return true;
  // A file opened for viewing is read as it is: without a later table it
  // simply has none of what that table holds.
  if (!oldLayout && session.IsReadOnly())
    return true;
  return RunInOneUnit(session, oldLayout, missing);
}
