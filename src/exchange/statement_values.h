// Reading the dates and amounts of a statement. Banks write dates in many
// forms and amounts with a decimal comma or point, thousands separators,
// currency signs and signs in front, behind or as parentheses.
#pragma once

#include "base/date_text.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The date forms a statement may use, in the order they are offered.
// "yyyy-MM-dd", "yyyy/M/d", "d.M.yyyy", "M/d/yyyy", "d/M/yyyy", "yyyyMMdd",
// "yyyy年M月d日", "yyyy.M.d", and "M/d" and "M-d" without a year (a credit
// card's).
// Any of them may be followed by a time of day "H:m" or "H:m:s".
QStringList DateForms();

// Whether form writes no year.
bool IsYearlessForm(const QString &form);

// How a date looks in form, as the user is shown the choice: 2024-03-05,
// 5.3.2024, 3/5（无年份）.
QString DateFormExample(const QString &form);

// The date of text read in form (one of DateForms); invalid when text does
// not have that form or names no real day. A yearless date takes its year
// from periodEnd, the last day of the statement's period: a month after
// periodEnd's is of the year before (a December line in a January
// statement); without periodEnd it is invalid.
DateValue ParseDateInForm(const QString &text, const QString &form,
                          const QDate &periodEnd = QDate());

// The forms in which the non-empty samples read as dates; more than one
// means the samples are ambiguous (3/4/2010), none that they are no dates.
// A form is decided by the samples that read: one impossible date
// (20240230) among good ones does not rule out the form of the others.
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
