// Template listing and new-file paths of the new-file wizard.
#include "app/new_file_rules.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString TrimSeparators(QString folder) {
  while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) ||
                               folder.endsWith(QLatin1Char('\\'))))
    folder.chop(1);
  return folder;
}

void ListInto(const QString &folder, int depth, QList<TemplateEntry> &out) {
  // Sub-folders are followed a few levels deep at most, so that a link
  // back up the tree cannot make the search endless.
  if (depth > 8)
    return;
  const QFileInfoList entries = QDir(folder).entryInfoList(
      QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::NoSort);
  for (const QFileInfo &entry : entries) {
    if (entry.isDir()) {
      if (!entry.fileName().startsWith(QLatin1Char('.')))
        ListInto(entry.filePath(), depth + 1, out);
      continue;
    }
    if (!entry.fileName().endsWith(QStringLiteral(".fz"), Qt::CaseInsensitive))
      continue;
    out.append({TemplateDisplayName(entry.fileName()), entry.filePath()});
  }
}

} // namespace

QList<TemplateEntry> ListTemplates(const QString &folder) {
  QList<TemplateEntry> out;
  if (!folder.isEmpty())
    ListInto(TrimSeparators(folder), 0, out);
  return out;
}

QString TemplateDisplayName(const QString &fileName) {
  QString name = fileName;
  name.remove(QStringLiteral(".fz"), Qt::CaseInsensitive);
  return name;
}

QString NewFilePath(const QString &folder, const QString &fileName) {
  QString path = TrimSeparators(folder);
  if (!path.endsWith(QLatin1Char('/')))
    path += QLatin1Char('/');
  path += fileName;
  if (!fileName.contains(QLatin1Char('.')))
    path += QStringLiteral(".fz");
  return path;
}

WizardCheck CheckWizardInput(const QString &fileName, const QString &folder,
                             const QString &templatePath) {
  if (fileName.isEmpty())
    return {WizardField::FileName, QStringLiteral("请指定文件名！")};
  // A "/" would make the name a path into another folder.
  if (fileName.contains(QLatin1Char('/')) || fileName.contains(QChar(0)))
    return {WizardField::FileName, QStringLiteral("文件名不能包含“/”！")};
  if (fileName == QLatin1String(".") || fileName == QLatin1String(".."))
    return {WizardField::FileName, QStringLiteral("文件名不能是“.”或“..”！")};
  // Linux file names hold at most 255 bytes; room is left for ".fz" and the
  // scratch names made beside the file.
  if (fileName.toUtf8().size() > 200)
    return {WizardField::FileName, QStringLiteral("文件名太长！")};
  if (folder.isEmpty())
    return {WizardField::Folder, QStringLiteral("请指定文件存放位置！")};
  const QFileInfo place(folder);
  if (!place.exists())
    return {WizardField::Folder, QStringLiteral("文件夹不存在：%1").arg(folder)};
  if (!place.isDir())
    return {WizardField::Folder, QStringLiteral("不是文件夹：%1").arg(folder)};
  if (!place.isWritable())
    return {WizardField::Folder, QStringLiteral("无权在文件夹中新建文件：%1").arg(folder)};
  if (templatePath.isEmpty())
    return {WizardField::Templates, QStringLiteral("请选择账簿模板！")};
  return {};
}
