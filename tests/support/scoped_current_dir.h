// Runs a test inside its own folder, so that tests that run at the same
// time never share what is written relative to the current directory.
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
