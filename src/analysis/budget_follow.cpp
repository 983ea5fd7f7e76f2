// A budget following renamed columns and options.
#include "analysis/budget_follow.h"

#include "analysis/budget.h"
#include "analysis/budget_store.h"
#include "base/prompt.h"
#include "document/account_file.h"
#include "model/pending_column_changes.h"

namespace {

const ColumnDef *ByName(const QList<ColumnDef> &columns, const QString &name) {
  for (const ColumnDef &column : columns)
    if (column.fieldName.compare(name, Qt::CaseInsensitive) == 0)
      return &column;
  return nullptr;
}

const ColumnDef *ById(const QList<ColumnDef> &columns, int id) {
  for (const ColumnDef &column : columns)
    if (column.id == id)
      return &column;
  return nullptr;
}

QStringList Missing(const QStringList &from, const QStringList &in) {
  QStringList missing;
  for (const QString &option : from)
    if (!in.contains(option))
      missing.append(option);
  return missing;
}

void RenameOption(Budget &budget, const QString &from, const QString &to) {
  for (BudgetEntry &entry : budget.entries)
    if (entry.option == from)
      entry.option = to;
}

// The column that field was before the edit, as it is after; false (with
// the message) when it went.
bool Follow(QString &field, const QList<ColumnDef> &before,
            const QList<ColumnDef> &after, QStringList &notes,
            const ColumnDef **was, const ColumnDef **now) {
  *was = ByName(before, field);
  *now = *was ? ById(after, (*was)->id) : nullptr;
  if (!*was)
    return false;
  if (!*now) {
    notes.append(QStringLiteral("字段[%1]已删除，按它设置的预算不再适用")
                     .arg(field));
    return false;
  }
  field = (*now)->fieldName;
  return true;
}

} // namespace

QStringList FollowColumnEdits(Budget &budget, const QList<ColumnDef> &before,
                              const QList<ColumnDef> &after, bool &changed) {
  QStringList notes;
  const Budget old = budget;
  changed = false;
  if (!budget.IsSet())
    return notes;
  const ColumnDef *was = nullptr;
  const ColumnDef *now = nullptr;
  Follow(budget.sumField, before, after, notes, &was, &now);
  if (Follow(budget.byField, before, after, notes, &was, &now)) {
    const QStringList gone = Missing(was->Choices(), now->Choices());
    const QStringList came = Missing(now->Choices(), was->Choices());
    const QStringList budgeted = budget.Options();
    for (qsizetype i = 0; i < gone.size(); ++i) {
      if (!budgeted.contains(gone[i]))
        continue;
      if (gone.size() == came.size()) {
        RenameOption(budget, gone[i], came[i]);
        continue;
      }
      notes.append(QStringLiteral("字段[%1]的选项“%2”已不存在，它的预算仍保留，"
                                  "可在“设置预算…”中清除")
                       .arg(budget.byField, gone[i]));
    }
  }
  changed = !(budget == old);
  return notes;
}

QList<ColumnDef> StoredColumnDefs(CDBVisiter &session) {
  PendingColumnChanges stored;
  stored.Load(session);
  return stored.Loaded();
}

void FollowStoredColumnEdits(AccountFile &file, const QList<ColumnDef> &before) {
  CDBVisiter *session = file.Session();
  if (!session || file.IsReadOnly())
    return;
  Budget budget = LoadBudget(*session);
  bool changed = false;
  const QStringList notes =
      FollowColumnEdits(budget, before, StoredColumnDefs(*session), changed);
  if (changed)
    WriteBudget(*session, budget);
  if (!notes.isEmpty())
    ShowMessage(notes.join(QStringLiteral("\r\n")));
}
