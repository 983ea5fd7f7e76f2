// Runs the built sorvanel-cli.
#include "cli_support.h"

#include <QProcess>
#include <QTemporaryDir>

namespace {

CliResult Run(const QStringList &args, const QString &home) {
  // Each run in a folder of its own: nothing a command leaves in its
  // current folder is shared with the tests that run at the same time.
  QTemporaryDir workDir;
  QProcess process;
  process.setWorkingDirectory(workDir.path());
  if (!home.isEmpty()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    process.setProcessEnvironment(environment);
  }
  process.start(QStringLiteral(SORVANEL_BINARY_DIR "/sorvanel-cli"), args);
  CliResult result;
  if (!process.waitForFinished(60000))
    return result;
  result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.out = QString::fromUtf8(process.readAllStandardOutput());
  result.err = QString::fromUtf8(process.readAllStandardError());
  return result;
}

} // namespace

CliResult RunCli(const QStringList &args) { return Run(args, QString()); }

CliResult RunCliWithHome(const QStringList &args, const QString &home) {
  return Run(args, home);
}
