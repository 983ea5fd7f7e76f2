// The column definitions of an account file as the options sheet edits
// them: those loaded from TableStyle and the added, changed and deleted
// ones. Nothing reaches the file until Apply writes all of it in one unit
// of work: when anything fails, the file stays as it was and every change
// stays pending.
#pragma once

#include "model/column_def.h"

#include <QList>

class CDBVisiter;

class PendingColumnChanges {
public:
  // Reads "SELECT * FROM TableStyle ORDER BY [编号]": every definition,
  // enabled or not, with its width as stored. Drops what was pending.
  // False when the query fails.
  bool Load(CDBVisiter &session);

  const QList<ColumnDef> &Loaded() const { return loaded_; }
  const QList<ColumnDef> &Added() const { return added_; }
  const QList<ColumnDef> &Deleted() const { return deleted_; }
  // The loaded definitions that changed, in the order of their first change.
  QList<ColumnDef> Changed() const;
  bool HasAny() const {
    return !added_.isEmpty() || !changedIds_.isEmpty() || !deleted_.isEmpty();
  }

  // The definition of id, added or loaded; null when there is none.
  const ColumnDef *Find(int id) const;
  // Whether the file holds the definition of id (loaded, not deleted).
  bool IsStored(int id) const;
  // Whether id is a definition added since the load.
  bool IsAdded(int id) const;
  // An ID no definition, pending or deleted, has.
  int NextId() const;

  void Add(const ColumnDef &def);
  // The definition of id to change in place, marked changed when the file
  // holds it; null when there is none.
  ColumnDef *Change(int id);
  // Drops an added definition, or moves a loaded one to the deleted ones.
  void Delete(int id);

  // Writes the pending changes as one unit of work: deletes, inserts (last
  // added first), then updates (last changed first). False, with one
  // message and nothing written, when there is no key column, an added
  // column has no field name, a stored value does not convert to its
  // column's new type (TypeChangeRefusal) or a statement failed; the
  // changes stay pending then.
  bool Apply(CDBVisiter &session);

private:
  bool Check(CDBVisiter &session) const;
  bool WriteAll(CDBVisiter &session) const;
  bool WriteChanges(CDBVisiter &session) const;

  QList<ColumnDef> loaded_;
  QList<ColumnDef> added_;
  QList<int> changedIds_; // definitions of loaded_ that changed
  QList<ColumnDef> deleted_;
};
