// Advisory locks that die with their process: one writer per account file.
//
// The lock of an account file is an flock() on a hidden lock file beside it,
// ".NAME.lock", never on the account file itself: SQLite's own POSIX locks
// on the account file would be lost whenever this process closed any other
// descriptor of that file, and compaction replaces the account file by a new
// one (a new inode) while its writer still holds the lock. The desktop
// program and every writing sorvanel-cli command take the same lock, so
// whatever the mix of processes, only one writes to a file at a time.
// Within one process the lock is counted: opening a file this process
// already holds succeeds. A crashed process leaves at worst an unlocked
// lock file, which the next writer simply takes.
//
// The lock file is made with the account file's permission bits, so that
// every user who may write the file can open it; one that another user made
// is locked through a read-only descriptor. It is never opened through a
// link, and a lock path that is no regular file (a folder, a link) makes
// the lock unavailable: nothing is written without the lock.
#pragma once

#include <QString>

// How long a writer waits for another process to let go of a file.
constexpr int kAccountLockWaitMs = 2000;

// The text shown when another process holds an account file.
QString FileBusyMessage();

class AccountFileLock {
public:
  AccountFileLock() = default;
  ~AccountFileLock();
  AccountFileLock(const AccountFileLock &) = delete;
  AccountFileLock &operator=(const AccountFileLock &) = delete;

  enum Result {
    Taken,        // this object holds the lock now
    Busy,         // another process held it for the whole wait
    Unavailable,  // the lock file cannot be used (Error() says why)
  };
  // Takes the lock of the account file at path, waiting up to waitMs while
  // another process holds it. Releases whatever this object held before,
  // after the new lock is taken (so re-taking the same file never lets go
  // of it in between).
  Result Acquire(const QString &path, int waitMs = kAccountLockWaitMs);
  void Release();
  bool IsHeld() const { return !key_.isEmpty(); }
  // The errno of the last Acquire that gave Unavailable.
  int Error() const { return error_; }

  // The lock file of the account file at path.
  static QString LockFilePath(const QString &path);

private:
  QString key_;  // the lock file's path while held
  int error_ = 0;
};
