// sorvanel-cli new PATH [--template NAME]: a new account file copied from a
// template of the system folder, opened once so that its upgrade runs.
#include "cli_account.h"
#include "cli_command.h"

#include "base/prompt.h"
#include "storage/compaction.h"
#include "document/account_file.h"
#include "storage/template_files.h"

#include <QFileInfo>

namespace {

int RunNew(const QStringList &args) {
  QString path;
  QString name;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--template") && i + 1 < args.size()) {
      name = args[++i];
    } else if (path.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
      path = args[i];
    } else {
      ShowMessage(QStringLiteral("参数错误：%1").arg(args[i]));
      return 1;
    }
  }
  if (path.isEmpty()) {
    ShowMessage(QStringLiteral("请给出新账簿文件的路径"));
    return 1;
  }
  // Never overwrite: the path may be somebody's account file.
  if (QFileInfo::exists(path)) {
    ShowMessage(QStringLiteral("文件已存在：%1").arg(path));
    return 1;
  }
  const QString folder = SystemFolder();
  const QStringList names = TemplateNames(folder);
  if (names.isEmpty()) {
    ShowMessage(QStringLiteral("没有可用的模板：%1").arg(folder));
    return 1;
  }
  if (name.isEmpty())
    name = names.first();
  if (!names.contains(name)) {
    ShowMessage(QStringLiteral("没有名为“%1”的模板，可用的模板：%2")
                    .arg(name, names.join(QStringLiteral("、"))));
    return 1;
  }
  if (!ReplaceFile(path, TemplatePath(folder, name)))
    return 1;
  AccountFile file;
  if (!OpenForCommand(file, path))
    return 1;
  PrintLine(QFileInfo(path).absoluteFilePath());
  return 0;
}

} // namespace

SORVANEL_CLI_COMMAND("new", "new PATH [--template NAME]", RunNew);
