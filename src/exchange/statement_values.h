// Reading the dates and amounts of a statement. Banks write dates in many
// forms and amounts with a decimal comma or point, thousands separators,
// currency signs and signs in front, behind or as parentheses.
#pragma once

#include "base/date_text.h"

#include <QString>
#include <QStringList>

// The date forms a statement may use, in the order they are offered.
// "yyyy-MM-dd", "yyyy/M/d", "d.M.yyyy", "M/d/yyyy", "d/M/yyyy", "yyyyMMdd".
// Any of them may be followed by a time of day "H:m" or "H:m:s".
QStringList DateForms();

// The date of text read in form (one of DateForms); invalid when text does
// not have that form or names no real day.
DateValue ParseDateInForm(const QString &text, const QString &form);

// The forms in which every non-empty sample reads as a date; more than one
// means the samples are ambiguous (3/4/2010), none that they are no dates.
QStringList DetectDateForms(const QStringList &samples);

// The number of an amount text: "1,234.50", "1.234,50" (decimalComma),
// "-12", "12-", "(12.00)", "¥ 12", "+3". Thousands separators count only
// in their places (groups of three before the decimal mark). False for an
// empty text or one that is no amount.
bool ParseAmount(const QString &text, bool decimalComma, double *value);

// Whether the samples read better with a decimal comma: some do only that
// way and none only the other.
bool DetectDecimalComma(const QStringList &samples);

// A number as stored: up to 15 significant digits, no exponent for the
// amounts of a ledger, no trailing zeros.
QString NumberText(double value);
