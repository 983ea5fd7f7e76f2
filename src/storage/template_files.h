// Where the template account files lie and which there are: every "*.fz" in
// the folder "system" beside the program.
#pragma once

#include <QString>
#include <QStringList>

// The program folder followed by "/system".
QString SystemFolder();
// The template names (file names without ".fz") in folder, in name order.
QStringList TemplateNames(const QString &folder);
// The path of the template of that name in folder.
QString TemplatePath(const QString &folder, const QString &name);
