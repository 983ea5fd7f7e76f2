// The ticks of the due occurrences.
#include "recurring/due_selection.h"

DueSelection::DueSelection(const QList<DueOccurrence> &due)
    : due_(due), ticked_(due.size(), true) {}

void DueSelection::SetTicked(int i, bool ticked) {
  if (i < 0 || i >= due_.size())
    return;
  const DueOccurrence &changed = due_[i];
  for (qsizetype j = 0; j < due_.size(); ++j) {
    const DueOccurrence &other = due_[j];
    if (other.recurringId != changed.recurringId)
      continue;
    if (ticked ? other.number <= changed.number
               : other.number >= changed.number)
      ticked_[j] = ticked;
  }
}

QList<DueOccurrence> DueSelection::Ticked() const {
  QList<DueOccurrence> ticked;
  for (qsizetype i = 0; i < due_.size(); ++i)
    if (ticked_[i])
      ticked.append(due_[i]);
  return ticked;
}
