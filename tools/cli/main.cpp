// sorvanel-cli: the headless companion of the ledger. Every message of the
// system goes to stderr; the exit status is 0 or 1. The commands that paint
// (report) run in a QGuiApplication on the offscreen platform, for the
// fonts; the others need no more than QtCore.
#include "cli_command.h"

#include "base/prompt.h"
#include "base/version.h"
#include "storage/private_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

#include <unistd.h>

namespace {

void PrintUsage() {
  std::fprintf(stderr, "用法: sorvanel-cli 命令 参数...\n");
  std::fprintf(stderr, "  sorvanel-cli --version\n");
  for (const CliCommand &command : CliCommands())
    std::fprintf(stderr, "  sorvanel-cli %s\n", command.usage);
}

bool Paints(int argc, char **argv) {
  return argc > 1 && std::strcmp(argv[1], "report") == 0;
}

// The offscreen platform asks for a runtime folder; without one Qt makes
// its own and says so in English on stderr, where only our messages belong.
void EnsureRuntimeFolder() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
    return;
  const QString folder = QDir::tempPath() + QStringLiteral("/runtime-") +
                         QString::number(getuid());
  if (MakePrivateFolder(folder))
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("sorvanel-cli %s\n", SORVANEL_VERSION);
    return 0;
  }
  std::unique_ptr<QCoreApplication> app;
  if (Paints(argc, argv)) {
    qputenv("QT_QPA_PLATFORM", "offscreen"); // no window, on any display
    EnsureRuntimeFolder();
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  QStringList args = app->arguments();
  args.removeFirst();
  if (args.isEmpty() || args.first() == QLatin1String("help") ||
      args.first() == QLatin1String("--help")) {
    PrintUsage();
    return args.isEmpty() ? 1 : 0;
  }
  const CliCommand *command = FindCliCommand(args.first());
  if (!command) {
    std::fprintf(stderr, "未知命令: %s\n", qPrintable(args.first()));
    PrintUsage();
    return 1;
  }
  args.removeFirst();
  try {
    return command->run(args) == 0 ? 0 : 1;
  } catch (const std::exception &error) {
    ShowMessage(QString::fromUtf8(error.what()));
  } catch (...) {
    ShowMessage(QStringLiteral("未知错误"));
  }
  return 1;
}
