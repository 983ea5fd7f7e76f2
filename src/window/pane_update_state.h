// When a side pane's changes reach the views: at once while immediate
// update is on, otherwise collected in a pending mask until the user
// applies them. Plain state, so that the rule is tested without a window.
#pragma once

class PaneUpdateState {
public:
  explicit PaneUpdateState(bool immediate = false) : immediate_(immediate) {}

  bool Immediate() const { return immediate_; }
  void SetImmediate(bool on) { immediate_ = on; }
  bool Pending() const { return pending_; }
  unsigned PendingMask() const { return mask_; }

  // A change with hint: the hint to send now, or 0 when it was added to
  // the pending mask.
  unsigned Change(unsigned hint);
  // The apply command: the pending mask to send (0 when nothing is
  // pending); the pending state is cleared.
  unsigned TakePending();
  // Forgets what is pending: a notification that was sent at once carried
  // the pane's bits already.
  void ClearPending();

private:
  bool immediate_;
  bool pending_ = false;
  unsigned mask_ = 0;
};
