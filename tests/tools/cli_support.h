// Running sorvanel-cli from tests.
#pragma once

#include <QString>
#include <QStringList>

struct CliResult {
  int status = -1;
  QString out;
  QString err;
};

// Runs the built sorvanel-cli with args and waits for it.
CliResult RunCli(const QStringList &args);
// The same with home as the user's home folder, data folder (home/data) and
// settings folder (home/config), so that nothing reaches the real ones.
CliResult RunCliWithHome(const QStringList &args, const QString &home);

// A small tmpfs mounted on folder while the object lives: a disk that fills
// up or that is read-only. Mounting needs root; Mounted() says whether it
// worked, so that a test can skip otherwise.
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
