// Brings an account file of the older layout up to the current one: the
// group tree, the group column of Users, the saved filter table with the old
// result-display settings moved into it, and the version table.
#include "base/prompt.h"
#include "db/db_visiter.h"
#include "groups/filter_set_store.h"

#include <QString>

namespace {

struct UpgradeStep {
  const char *sql;
  bool stopOnFailure;
};

// Steps 1 to 7: each must succeed, or the upgrade stops.
const UpgradeStep kSchemaSteps[] = {
    {"Alter Table TableStyle Add Column [默认值] varchar(50)", true},
    {"Create Table [Group] ([ID] int Primary Key, [parentID] int, [SortID] int "
     "default 0, [Title] text null, [State] int default 0, [NodeKind] int  "
     "default 0)",
     true},
    {"Insert Into [Group] ([ID], [parentID], [SortID], [Title], [State], "
     "[NodeKind]) Values (1, -1, 0, '家庭账本', 0, 0)",
     true},
    {"Insert Into [Group] ([ID], [parentID], [SortID], [Title], [State], "
     "[NodeKind]) Values (2, 1, 0, '缺省分组', 2, 1)",
     true},
    {"Alter Table Users Add Column [trelva_Group_ID] int", true},
    {"Update Users Set [trelva_Group_ID]=2", true},
    {"Create Table [FilterMemory] ([ID] COUNTER Primary Key, [ClassID] int, "
     "[Title] text null, [flValue] Image)",
     true},
};

} // namespace

bool CDBVisiter::UpgradeSchema() {
  // The presence of the version table decides, not the number in it.
  if (Query(QStringLiteral("Select Max(VersionNumber) FROM T_VersionControl")))
    return true;

  for (const UpgradeStep &step : kSchemaSteps)
    if (!Execute(QString::fromUtf8(step.sql)) && step.stopOnFailure)
      return false;

  // The old result-display settings become saved sets; their outcome is not
  // checked, and the old tables go whether they existed or not.
  ConvertOldResultTables(*this);
  {
    SilentPrompt silent;
    ScopedPrompt quiet(silent);
    Execute(QStringLiteral("Drop Table ResultShowItem"));
    Execute(QStringLiteral("Drop Table ResultShowLimit"));
  }

  if (!Execute(QStringLiteral(
          "Create Table T_VersionControl ([VersionNumber] int Primary Key, "
          "[VersionDate] datetime default date(), [Remark] text null)")))
    return false;
  return Execute(QString::fromUtf8(
      "Insert Into T_VersionControl (VersionNumber, Remark) Values (1, "
      "'一次比较大的改动')"));
}
