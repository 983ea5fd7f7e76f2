// The subcommands of sorvanel-cli. Each lives in a file of its own and
// registers itself with SORVANEL_CLI_COMMAND; main() looks them up by name.
#pragma once

#include <QString>
#include <QStringList>

// A command gets the arguments after its name and returns the exit status,
// 0 or 1.
using CliRunner = int (*)(const QStringList &args);

struct CliCommand {
  const char *name;
  const char *usage; // shown by "sorvanel-cli help"
  CliRunner run;
};

bool RegisterCliCommand(const CliCommand &command);
// The command of that name, or null.
const CliCommand *FindCliCommand(const QString &name);
// Every command, in name order.
QList<CliCommand> CliCommands();

// Says how the command of that name is used: "用法：sorvanel-cli " and its
// registered usage, through the prompt (stderr).
void ShowUsage(const char *name);

// Prints a text on stdout, followed by a line feed.
void PrintLine(const QString &text);

#define SORVANEL_CLI_COMMAND(name, usage, runner)                              \
  static const bool registered_##runner =                                      \
      RegisterCliCommand(CliCommand{name, usage, runner})
