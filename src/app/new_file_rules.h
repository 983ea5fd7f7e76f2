// What the new-file wizard decides without a window: which templates there
// are, the path a new file gets, and the checks before it is made.
#pragma once

#include <QList>
#include <QString>

// One template account file: the name shown (the file name with every
// ".fz" removed) and the real path it is copied from.
struct TemplateEntry {
  QString name;
  QString path;
};

// Every "*.fz" file in folder, and those of its sub-folders whose names do
// not begin with "." (searched in the same way), in the order the folders
// are read. A folder whose name matches "*.fz" is searched, never listed.
QList<TemplateEntry> ListTemplates(const QString &folder);
// "家庭.fz" → "家庭", "a.fz.fz" → "a".
QString TemplateDisplayName(const QString &fileName);

// The folder with its trailing "/" and "\" removed, "/", then the name;
// ".fz" is added when the name itself has no "." (a dot in the folder
// does not count: Linux folders often hold dots).
QString NewFilePath(const QString &folder, const QString &fileName);

// The fields of the wizard a failed check points at.
enum class WizardField { None, FileName, Folder, Templates };

struct WizardCheck {
  WizardField field = WizardField::None;
  QString message; // empty when the input is complete
};

// The checks of "确定" in order: a file name (without "/", not "." or
// "..", not too long), a folder (there, a folder, writable), a template.
WizardCheck CheckWizardInput(const QString &fileName, const QString &folder,
                             const QString &templatePath);
