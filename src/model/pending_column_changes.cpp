// Loading the column definitions for editing and writing what changed.
#include "model/pending_column_changes.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "db/unit_of_work.h"
#include "model/column_store.h"

#include <QDir>

#include <algorithm>

namespace {

bool HasId(const QList<ColumnDef> &defs, int id) {
  return std::any_of(defs.begin(), defs.end(),
                     [id](const ColumnDef &d) { return d.id == id; });
}

} // namespace

bool PendingColumnChanges::Load(CDBVisiter &session) {
  loaded_.clear();
  added_.clear();
  changedIds_.clear();
  deleted_.clear();
  if (session.Query(QStringLiteral("SELECT * FROM TableStyle ORDER BY [编号]")) <= 0)
    return false;
  // Every row, enabled or not, with the width as stored: the sheet edits
  // what the file holds, not what the records page shows.
  do {
    ColumnDef def = ReadColumnDef(session);
    def.width = session.GetInt(QStringLiteral("宽度"));
    def.enabled = session.GetBool(QStringLiteral("启用"));
    loaded_.append(def);
  } while (session.MoveNext());
  return true;
}

QList<ColumnDef> PendingColumnChanges::Changed() const {
  QList<ColumnDef> changed;
  for (int id : changedIds_)
    for (const ColumnDef &d : loaded_)
      if (d.id == id)
        changed.append(d);
  return changed;
}

const ColumnDef *PendingColumnChanges::Find(int id) const {
  for (const ColumnDef &d : added_)
    if (d.id == id)
      return &d;
  for (const ColumnDef &d : loaded_)
    if (d.id == id)
      return &d;
  return nullptr;
}

bool PendingColumnChanges::IsStored(int id) const { return HasId(loaded_, id); }

bool PendingColumnChanges::IsAdded(int id) const { return HasId(added_, id); }

int PendingColumnChanges::NextId() const {
  int largest = 0;
  for (const QList<ColumnDef> *defs : {&loaded_, &added_, &deleted_})
    for (const ColumnDef &d : *defs)
      largest = std::max(largest, d.id);
  return largest + 1;
}

void PendingColumnChanges::Add(const ColumnDef &def) { added_.append(def); }

ColumnDef *PendingColumnChanges::Change(int id) {
  for (ColumnDef &d : added_)
    if (d.id == id)
      return &d;
  for (ColumnDef &d : loaded_)
    if (d.id == id) {
      if (!changedIds_.contains(id))
        changedIds_.append(id);
      return &d;
    }
  return nullptr;
}

void PendingColumnChanges::Delete(int id) {
  changedIds_.removeAll(id);
  added_.removeIf([id](const ColumnDef &d) { return d.id == id; });
  for (qsizetype i = 0; i < loaded_.size(); ++i)
    if (loaded_[i].id == id) {
      deleted_.append(loaded_.takeAt(i));
      return;
    }
}

bool PendingColumnChanges::Apply(CDBVisiter &session) {
  if (!Check(session) || !WriteAll(session))
    return false;
  deleted_.clear();
  while (!added_.isEmpty())
    loaded_.append(added_.takeLast());
  changedIds_.clear();
  return true;
}

bool PendingColumnChanges::Check(CDBVisiter &session) const {
  auto isKey = [](const ColumnDef &d) { return d.type == FT_KEY; };
  if (std::none_of(loaded_.begin(), loaded_.end(), isKey) &&
      std::none_of(added_.begin(), added_.end(), isKey)) {
    ShowMessage(QStringLiteral("必须有一个主键！"));
    return false;
  }
  for (const ColumnDef &def : added_)
    if (def.fieldName.trimmed().isEmpty()) {
      ShowMessage(QStringLiteral("字段名不能为空！"));
      return false;
    }
  // A stored value that a new type cannot take is named before anything
  // is written.
  for (const ColumnDef &def : Changed()) {
    const QString refusal = TypeChangeRefusal(session, def);
    if (!refusal.isEmpty()) {
      ShowMessage(refusal);
      return false;
    }
  }
  return true;
}

bool PendingColumnChanges::WriteAll(CDBVisiter &session) const {
  QStringList reasons;
  {
    // One unit of work: every change reaches the file, or none does and
    // all of them stay pending. The engine's texts go into one message.
    CollectingPrompt collected;
    UnitOfWork work(&session);
    if (WriteChanges(session) && work.Commit())
      return true;
    reasons = collected.Texts();
  }
  reasons.prepend(QStringLiteral("列的设置未能保存，账簿文件 %1 没有任何改动。")
                      .arg(QDir::toNativeSeparators(session.DataSource())));
  ShowMessage(reasons.join(QStringLiteral("\r\n")));
  return false;
}

bool PendingColumnChanges::WriteChanges(CDBVisiter &session) const {
  for (const ColumnDef &def : deleted_)
    if (!DeleteColumn(session, def))
      return false;
  // The last added first, then the last changed first.
  for (auto it = added_.crbegin(); it != added_.crend(); ++it)
    if (!InsertColumn(session, *it))
      return false;
  for (auto it = changedIds_.crbegin(); it != changedIds_.crend(); ++it) {
    const ColumnDef *def = Find(*it);
    if (def && !UpdateColumn(session, *def))
      return false;
  }
  return true;
}
