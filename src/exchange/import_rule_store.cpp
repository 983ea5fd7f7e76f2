// Statements on table ImportRule; see import_rule_store.h.
#include "exchange/import_rule_store.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "document/account_file.h"
#include "document/writable_session.h"
#include "exchange/import_rules.h"
#include "model/sql_text.h"
#include "db/unit_of_work.h"

namespace {

bool Fits(AccountFile &file, const ImportRule &rule) {
  const QString problem = RuleProblem(file.Columns(), rule);
  if (problem.isEmpty())
    return true;
  ShowMessage(problem);
  return false;
}

// The field name of the rule's target as stored (a caption becomes it).
QString StoredField(AccountFile &file, const ImportRule &rule) {
  return file.Columns().FieldName(RulePositionOf(file.Columns(), rule.field));
}

// One number of the table: "Max(ID)", "Min(SortID)"; 0 for an empty table.
int TableNumber(CDBVisiter &session, const char *aggregate) {
  session.Query(QString::asprintf("Select %s From ImportRule", aggregate));
  const int number = session.GetInt(0);
  session.CloseResult();
  return number;
}

bool Insert(CDBVisiter &session, AccountFile &file, ImportRule &rule,
            int sortId) {
  const int id = TableNumber(session, "Max(ID)") + 1;
  const QString sql = QString::asprintf(
      "Insert Into ImportRule ([ID], [SortID], [SourceColumn], [Condition], "
      "[MatchText], [TargetField], [TargetValue], [LastMatches]) Values (%d, "
      "%d, '%s', %d, '%s', '%s', '%s', 0)",
      id, sortId, QuotedSqlArg(rule.source).constData(), int(rule.condition),
      QuotedSqlArg(rule.text).constData(),
      QuotedSqlArg(StoredField(file, rule)).constData(),
      QuotedSqlArg(rule.value).constData());
  if (!session.Execute(sql))
    return false;
  rule.id = id;
  return true;
}

bool SetSortId(CDBVisiter &session, int id, int sortId) {
  return session.Execute(QString::asprintf(
             "Update ImportRule Set [SortID]=%d Where [ID]=%d", sortId, id)) &&
         session.ChangedRows() == 1;
}

bool SameCondition(const ImportRule &a, const ImportRule &b) {
  return a.source == b.source && a.condition == b.condition &&
         a.text == b.text && !a.field.compare(b.field, Qt::CaseInsensitive);
}

} // namespace

QList<ImportRule> LoadImportRules(AccountFile &file) {
  QList<ImportRule> rules;
  CDBVisiter *session = file.Session();
  if (!session || session->Query(QStringLiteral(
                      "Select * From ImportRule Order By SortID, ID")) == 0)
    return rules;
  do {
    ImportRule rule;
    rule.id = session->GetInt(QStringLiteral("ID"));
    rule.source = session->GetString(QStringLiteral("SourceColumn"));
    const int condition = session->GetInt(QStringLiteral("Condition"));
    if (condition == int(RuleCondition::Equals) ||
        condition == int(RuleCondition::StartsWith))
      rule.condition = RuleCondition(condition);
    rule.text = session->GetString(QStringLiteral("MatchText"));
    rule.field = session->GetString(QStringLiteral("TargetField"));
    rule.value = session->GetString(QStringLiteral("TargetValue"));
    rule.lastMatches = session->GetInt(QStringLiteral("LastMatches"));
    rules.append(rule);
  } while (session->MoveNext());
  session->CloseResult();
  return rules;
}

bool AddImportRule(AccountFile &file, ImportRule &rule) {
  CDBVisiter *session = WritableSession(file);
  if (!session || !Fits(file, rule))
    return false;
  UnitOfWork unit(session);
  const int sortId = TableNumber(*session, "Max(SortID)") + 1;
  return Insert(*session, file, rule, sortId) && unit.Commit();
}

bool UpdateImportRule(AccountFile &file, const ImportRule &rule) {
  CDBVisiter *session = WritableSession(file);
  if (!session || !Fits(file, rule))
    return false;
  UnitOfWork unit(session);
  const QString sql = QString::asprintf(
      "Update ImportRule Set [SourceColumn]='%s', [Condition]=%d, "
      "[MatchText]='%s', [TargetField]='%s', [TargetValue]='%s' Where [ID]=%d",
      QuotedSqlArg(rule.source).constData(), int(rule.condition),
      QuotedSqlArg(rule.text).constData(),
      QuotedSqlArg(StoredField(file, rule)).constData(),
      QuotedSqlArg(rule.value).constData(), rule.id);
  return session->Execute(sql) && session->ChangedRows() == 1 &&
         unit.Commit();
}

bool MoveImportRule(AccountFile &file, int id, int step) {
  CDBVisiter *session = WritableSession(file);
  if (!session)
    return false;
  const QList<ImportRule> rules = LoadImportRules(file);
  qsizetype at = 0;
  while (at < rules.size() && rules[at].id != id)
    ++at;
  const qsizetype other = at + step;
  if (at == rules.size() || other < 0 || other >= rules.size())
    return false;
  // Positions become the sort numbers, so that equal old numbers cannot
  // keep two rules in place.
  UnitOfWork unit(session);
  for (qsizetype i = 0; i < rules.size(); ++i) {
    const qsizetype place = i == at ? other : i == other ? at : i;
    if (!SetSortId(*session, rules[i].id, int(place) + 1))
      return false;
  }
  return unit.Commit();
}

bool DeleteImportRule(AccountFile &file, int id) {
  CDBVisiter *session = WritableSession(file);
  if (!session)
    return false;
  UnitOfWork unit(session);
  return session->Execute(QString::asprintf(
             "Delete * From ImportRule Where [ID]=%d", id)) &&
         session->ChangedRows() == 1 && unit.Commit();
}

bool RememberImportRule(AccountFile &file, ImportRule &rule) {
  CDBVisiter *session = WritableSession(file);
  if (!session || !Fits(file, rule))
    return false;
  rule.field = StoredField(file, rule);
  for (const ImportRule &kept : LoadImportRules(file)) {
    if (!SameCondition(kept, rule))
      continue;
    rule.id = kept.id;
    return UpdateImportRule(file, rule);
  }
  UnitOfWork unit(session);
  const int sortId = TableNumber(*session, "Min(SortID)") - 1;
  return Insert(*session, file, rule, sortId) && unit.Commit();
}

bool SaveImportRuleMatches(AccountFile &file, const ImportRules &rules) {
  CDBVisiter *session = file.Session();
  if (!session || file.IsReadOnly() || rules.List().isEmpty())
    return false;
  UnitOfWork unit(session);
  for (qsizetype i = 0; i < rules.List().size(); ++i)
    if (!session->Execute(QString::asprintf(
            "Update ImportRule Set [LastMatches]=%d Where [ID]=%d",
            rules.Matches(i), rules.List()[i].id)))
      return false;
  return unit.Commit();
}
