// Which backups of an account file are kept: the newest `keep` of them,
// and besides those the newest one of each of the last 12 calendar months
// (the month of today and the 11 before it). Everything else may go.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>

#include <vector>

inline constexpr int kMonthlyBackupMonths = 12;

// For each backup, given by the time it was made (in any order), whether it
// is kept.
std::vector<bool> BackupsToKeep(const QList<QDateTime> &made, int keep,
                                const QDate &today);
