// Importing a statement into a group; see statement_import.h.
#include "exchange/statement_import.h"

#include "db/db_visiter.h"
#include "document/account_file.h"
#include "exchange/import_checking.h"
#include "exchange/import_opening.h"
#include "exchange/import_records.h"
#include "exchange/import_rule_store.h"
#include "exchange/import_storing.h"
#include "exchange/line_conversion.h"
#include "exchange/mapping_layout.h"
#include "groups/group_node.h"

namespace {

// The first group of the tree with the state bits, or any group when bits
// is 0; null when there is none.
GroupNode *FirstGroup(GroupNode &node, unsigned bits) {
  if (node.IsGroup() && (bits == 0 || node.HasState(bits)))
    return &node;
  for (const auto &child : node.children)
    if (GroupNode *found = FirstGroup(*child, bits))
      return found;
  return nullptr;
}

} // namespace

StatementImport::StatementImport(AccountFile &file) : file_(file) {
  GroupNode *group = FirstGroup(file.Root(), GS_SELECTED);
  if (!group)
    group = FirstGroup(file.Root(), 0);
  groupId_ = group ? group->id : 0;
  rules_ = ImportRules(LoadImportRules(file));
}

bool StatementImport::Open(const QString &path, QString *error) {
  return OpenStatement(file_, path, &statement_, &mapping_, &mappingSaved_,
                       error);
}

bool StatementImport::Reload(QString *error) {
  return ReadSample(mapping_.format, &statement_, error);
}

QStringList StatementImport::DateFormChoices() const {
  return ::DateFormChoices(file_.Columns(), mapping_, statement_);
}

void StatementImport::GuessMapping() {
  mapping_ = GuessImportMapping(file_.Columns(), mapping_.format,
                                statement_.headers, statement_.sample);
  mappingSaved_ = false;
}

void StatementImport::DetectValueForms() {
  ::DetectValueForms(file_.Columns(), statement_, &mapping_);
}

QString StatementImport::MappingProblem() const {
  return ::MappingProblem(file_.Columns(), mapping_);
}

bool StatementImport::ReadLine(int lineNumber, SourceLine *line,
                               QString *error) const {
  return ReadStatementLine(statement_.path, mapping_.format, lineNumber, line,
                           error);
}

CRowItem StatementImport::MakeRecord(const QStringList &texts, int key,
                                     const QDateTime &) const {
  return ::MakeRecord(file_, mapping_, texts, key,
                      StartOfRecords(file_, groupId_));
}

bool StatementImport::Check(ImportCheck *check,
                            const ExchangeProgress &progress,
                            QString *error) {
  bool cancelled = false;
  if (CheckLines(check, progress, &cancelled, error))
    return true;
  if (cancelled)
    *error = QStringLiteral("已取消");
  return false;
}

bool StatementImport::CheckLines(ImportCheck *check,
                                 const ExchangeProgress &progress,
                                 bool *cancelled, QString *error) {
  const ImportChoices choices{mapping_, rules_, groupId_,
                              refundsCancelPayments_};
  return CheckStatement(file_, statement_, choices, check, progress,
                        cancelled, error);
}

int StatementImport::Store(const QSet<int> &includeDuplicates,
                           const ExchangeProgress &progress, bool *cancelled,
                           QString *error) {
  ImportCheck check;
  if (!CheckLines(&check, progress, cancelled, error))
    return *cancelled ? 0 : -1;
  QSet<int> ticked = check.TickedLines();
  for (const int line : check.duplicateLines)
    if (includeDuplicates.contains(line))
      ticked.insert(line);
  return Store(check, ticked, progress, cancelled, error);
}

int StatementImport::Store(const ImportCheck &check, const QSet<int> &ticked,
                           const ExchangeProgress &progress, bool *cancelled,
                           QString *error) {
  return StoreCheckedLines(file_, mapping_, groupId_, check, ticked, progress,
                           cancelled, error);
}

bool StatementImport::SaveMapping() {
  return file_.Session() &&
         SaveImportMapping(*file_.Session(), Signature(), mapping_);
}

bool StatementImport::SaveAsLayout(const QString &name, QString *error) {
  if (mapping_.format.kind == StatementKind::Ofx) {
    *error = QStringLiteral("OFX 对账单无需保存账单格式");
    return false;
  }
  if (const QString problem = MappingProblem(); !problem.isEmpty()) {
    *error = problem;
    return false;
  }
  BillLayout layout =
      LayoutOfMapping(file_.Columns(), mapping_, statement_.headers, name);
  if (!SaveUserLayout(layout, error))
    return false;
  layout.user = true;
  statement_.layout = layout;
  return true;
}
