// Advisory locks that die with their process: one writer per account file,
// and the scratch file of compaction.
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
    Unavailable,  // no lock file can be made beside the file (a folder that
                  // may not be written, where no one can write the file)
  };
  // Takes the lock of the account file at path, waiting up to waitMs while
  // another process holds it. Releases whatever this object held before,
  // after the new lock is taken (so re-taking the same file never lets go
  // of it in between).
  Result Acquire(const QString &path, int waitMs = kAccountLockWaitMs);
  void Release();
  bool IsHeld() const { return !key_.isEmpty(); }

  // The lock file of the account file at path.
  static QString LockFilePath(const QString &path);

private:
  QString key_;  // the lock file's path while held
};

// The lock on compaction's scratch file: an flock() on the scratch file
// itself, held from before the compacted copy is written until the file is
// removed again.
class ScratchFileLock {
public:
  ScratchFileLock() = default;
  ~ScratchFileLock();
  ScratchFileLock(const ScratchFileLock &) = delete;
  ScratchFileLock &operator=(const ScratchFileLock &) = delete;

  enum Result { Taken, Busy, Failed };
  // Creates or opens path and locks it. A file that was there and that no
  // living process held is left over from a crash: it is emptied (the
  // compaction engine writes only into an empty file), and its journal
  // beside it removed. Busy when another process holds it for waitMs.
  Result Acquire(const QString &path, int waitMs);
  // Removes the scratch file, then lets go of the lock.
  void RemoveAndRelease();

private:
  int fd_ = -1;
  QString path_;
};
