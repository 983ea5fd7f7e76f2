// The hints of the change notification: what changed, one bit each, and
// who reads each bit. Whoever shows that reads it again. The bits up to
// 0x80 and the values 6 (a record edited), 7 (the records shown changed)
// and 0xFFFF are those every page and pane of the ledger reads; the bits
// above 0x80 belong to what came later, each to its own reader.
#pragma once

enum ChangeHint : unsigned {
  HINT_RECORDS = 0x01,      // the records page: the records, or which are shown
  HINT_PIE_SERIES = 0x02,   // the pie chart page: what it sums
  HINT_BAR_SERIES = 0x04,   // the bar chart page: what it sums
  HINT_GROUPS = 0x08,       // the group pane: the group tree
  HINT_FILTERS = 0x20,      // the filter pane: what filters are made of
  HINT_BAR_SETTINGS = 0x40, // the bar chart's set-up pane
  HINT_PIE_SETTINGS = 0x80, // the pie chart's set-up pane
  HINT_BUDGET = 0x100,      // the budget page: the budgets were set
  HINT_BUDGET_SUMS = 0x200, // the budget page: what the budgets count
  HINT_ALL = 0xFFFF,        // everything: another file, other columns
};

// The values the record changes are sent with.
inline constexpr unsigned kRecordEdited = HINT_PIE_SERIES | HINT_BAR_SERIES; // 6
inline constexpr unsigned kRecordsShown = kRecordEdited | HINT_RECORDS;     // 7

// The hint as a window's pages are told it: a record edited (6) or a
// change of the records shown (bit 0x01) is a change of what the budgets
// count, so it also carries HINT_BUDGET_SUMS; a chart's own set-up (2 or 4
// alone) is not. The senders keep sending the values of the record pages;
// no page reads another one's bit.
constexpr unsigned PageHint(unsigned hint) {
  if (hint == HINT_ALL)
    return hint;
  const bool records =
      (hint & HINT_RECORDS) || (hint & kRecordEdited) == kRecordEdited;
  return records ? hint | HINT_BUDGET_SUMS : hint;
}
