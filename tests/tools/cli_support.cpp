// Runs the built sorvanel-cli.
#include "cli_support.h"

#include <QProcess>

CliResult RunCli(const QStringList &args) {
  QProcess process;
  process.start(QStringLiteral(SORVANEL_BINARY_DIR "/sorvanel-cli"), args);
  CliResult result;
  if (!process.waitForFinished(60000))
    return result;
  result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.out = QString::fromUtf8(process.readAllStandardOutput());
  result.err = QString::fromUtf8(process.readAllStandardError());
  return result;
}
