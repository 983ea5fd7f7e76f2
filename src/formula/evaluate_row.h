// The two row operations: substituting a row's values for field names in
// its texts, evaluating the numeric columns, and resetting the columns whose
// default formula depends on an edited one.
#pragma once

#include "formula/field_value_item.h"

// 1. For each item i in column order, every whole-word, case-insensitive
//    occurrence of i's field name in the text of each target item j (i
//    included, in column order) is replaced by i's current text, read afresh
//    for each j.
// 2. Every remaining occurrence of any item's field name in a target's text
//    becomes "0".
// 3. The text of each numeric item is evaluated (argument 0) and replaced by
//    the value with as many decimals as the text had (CountDecimals); an
//    empty text becomes "0", a failure shows its message and gives "0".
// The targets are the numeric items and the items whose applyingDefault is
// set; every other item keeps its text untouched, though its text is still
// substituted into the targets. applyingDefault is cleared on every item.
// A text that substitution would grow beyond 8192 characters (names used
// in their own value can double it at every column) keeps the text it had
// and takes no further part; a numeric one then fails with the message and
// shows "0".
//
// A numeric result that is no finite number fails the same way, with
// NotFiniteMessage, and makes the whole row false: such a row is not to be
// stored, for the "0" in that column is no value anyone gave.
//
// A row is first tried on the fast path (EvaluateRowFast) and substituted
// textually (EvaluateRowTextually) only when that declines; both give the
// same texts and messages.
bool EvaluateRow(FieldValueRow &items);

// EvaluateRow over pieces of the texts (row_substitution.h): numeric texts
// whose field values are plain numbers run through a compiled form of the
// formula kept from row to row. False, with the row untouched, for a row
// whose substitution it cannot follow exactly; else true, with *allFinite
// (when given) telling whether every numeric result was finite.
bool EvaluateRowFast(FieldValueRow &items, bool *allFinite = nullptr);

// EvaluateRow by substituting the texts themselves, one pattern at a time.
bool EvaluateRowTextually(FieldValueRow &items);

// After the item at index changed was given a new text: every item whose
// default formula names the changed item's field, directly or through other
// items found so, gets its default formula as text (and applyingDefault);
// the changed item keeps its new text. Then EvaluateRow, whose result is
// returned. An index outside the row changes nothing (true).
bool RecalculateDependents(FieldValueRow &items, qsizetype changed);
