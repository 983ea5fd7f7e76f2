// The per-user number of automatic backups kept of each account file (the
// options sheet's "自动备份"). It lives in QSettings under the organisation
// "桌面账本应用程序" and the application "Sorvanel", section "Sorvanel",
// entry "nBackupCount"; 0 turns automatic backups off.
#pragma once

inline constexpr int kDefaultBackupCount = 10;
inline constexpr int kMaxBackupCount = 100;

// The stored number, kDefaultBackupCount when none is stored, and always
// within 0 .. kMaxBackupCount.
int BackupCount();
// Stores count, brought within 0 .. kMaxBackupCount.
void SetBackupCount(int count);
