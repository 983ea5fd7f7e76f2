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
