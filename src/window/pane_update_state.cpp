// The immediate and pending updates of a side pane.
#include "window/pane_update_state.h"

unsigned PaneUpdateState::Change(unsigned hint) {
  if (immediate_)
    return hint;
  mask_ |= hint;
  pending_ = true;
  return 0;
}

unsigned PaneUpdateState::TakePending() {
  const unsigned mask = pending_ ? mask_ : 0;
  ClearPending();
  return mask;
}

void PaneUpdateState::ClearPending() {
  pending_ = false;
  mask_ = 0;
}
