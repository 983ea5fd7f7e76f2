// Runs a test inside its own folder: compaction writes its scratch file
// "temp.mdb" into the current directory, and tests that run at the same time
// must not share one.
#pragma once

#include <QString>

class ScopedCurrentDir {
public:
  explicit ScopedCurrentDir(const QString &path);
  ~ScopedCurrentDir();
  ScopedCurrentDir(const ScopedCurrentDir &) = delete;
  ScopedCurrentDir &operator=(const ScopedCurrentDir &) = delete;

private:
  QString previous_;
};
