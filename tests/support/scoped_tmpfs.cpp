// A small tmpfs mounted for a test.
#include "support/scoped_tmpfs.h"

#include <QProcess>
#include <QStringList>

#include <unistd.h>

namespace {

// Runs a system command; whether it exited with 0.
bool System(const QString &program, const QStringList &args) {
  QProcess process;
  process.start(program, args);
  return process.waitForFinished(60000) &&
         process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

ScopedTmpfs::ScopedTmpfs(const QString &folder, const QString &size)
    : folder_(folder) {
  if (::geteuid() != 0)
    return;
  mounted_ = System(QStringLiteral("mount"),
                    {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", folder});
}

ScopedTmpfs::~ScopedTmpfs() {
  if (mounted_)
    System(QStringLiteral("umount"), {folder_});
}

bool ScopedTmpfs::MakeReadOnly() {
  return mounted_ &&
         System(QStringLiteral("mount"), {"-o", "remount,ro", folder_});
}
