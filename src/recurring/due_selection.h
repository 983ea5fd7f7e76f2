// The ticks of the dialog of due occurrences. "Made up to" is one date per
// recurring record, so the ticked occurrences of a record are always its
// earliest ones: ticking one ticks the earlier ones of the same record,
// clearing one clears the later ones. What is left unticked stays due.
#pragma once

#include "recurring/due_occurrences.h"

#include <QList>

class DueSelection {
public:
  // Every occurrence ticked.
  explicit DueSelection(const QList<DueOccurrence> &due);

  const QList<DueOccurrence> &All() const { return due_; }
  bool IsTicked(int i) const { return ticked_.value(i); }
  // Ticks or clears occurrence i and, to keep the rule, others of its
  // record.
  void SetTicked(int i, bool ticked);
  QList<DueOccurrence> Ticked() const;

private:
  QList<DueOccurrence> due_;
  QList<bool> ticked_;
};
