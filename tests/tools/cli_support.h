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
