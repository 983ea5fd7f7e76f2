// Registry of the sorvanel-cli subcommands.
#include "cli_command.h"

#include "base/prompt.h"

#include <QList>

#include <algorithm>
#include <cstdio>

namespace {

QList<CliCommand> &Registry() {
  static QList<CliCommand> commands;
  return commands;
}

} // namespace

bool RegisterCliCommand(const CliCommand &command) {
  Registry().append(command);
  return true;
}

const CliCommand *FindCliCommand(const QString &name) {
  for (const CliCommand &command : Registry())
    if (name == QLatin1String(command.name))
      return &command;
  return nullptr;
}

QList<CliCommand> CliCommands() {
  QList<CliCommand> commands = Registry();
  std::sort(commands.begin(), commands.end(),
            [](const CliCommand &a, const CliCommand &b) {
              return qstrcmp(a.name, b.name) < 0;
            });
  return commands;
}

void ShowUsage(const char *name) {
  const CliCommand *command = FindCliCommand(QLatin1String(name));
  ShowMessage(QStringLiteral("用法：sorvanel-cli %1")
                  .arg(QString::fromUtf8(command ? command->usage : name)));
}

void PrintLine(const QString &text) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
  std::fputc('\n', stdout);
}
