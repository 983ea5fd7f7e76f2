// A small tmpfs mounted on a folder while a test runs: a disk that fills up
// or that is read-only. Mounting needs root; Mounted() says whether it
// worked, so that a test can skip otherwise.
#pragma once

#include <QString>

class ScopedTmpfs {
public:
  ScopedTmpfs(const QString &folder, const QString &size);
  ~ScopedTmpfs();
  ScopedTmpfs(const ScopedTmpfs &) = delete;
  ScopedTmpfs &operator=(const ScopedTmpfs &) = delete;

  bool Mounted() const { return mounted_; }
  // Mounts it again read-only; whether that worked.
  bool MakeReadOnly();

private:
  QString folder_;
  bool mounted_ = false;
};
