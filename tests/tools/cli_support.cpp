// Runs the built sorvanel-cli.
#include "cli_support.h"

#include <QProcess>
#include <QTemporaryDir>

CliResult RunCli(const QStringList &args) {
  // Each run in a folder of its own, as compaction writes "temp.mdb" into
  // the current directory and other tests run at the same time.
  QTemporaryDir workDir;
  QProcess process;
  process.setWorkingDirectory(workDir.path());
  process.start(QStringLiteral(SORVANEL_BINARY_DIR "/sorvanel-cli"), args);
  CliResult result;
  if (!process.waitForFinished(60000))
    return result;
  result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.out = QString::fromUtf8(process.readAllStandardOutput());
  result.err = QString::fromUtf8(process.readAllStandardError());
  return result;
}
