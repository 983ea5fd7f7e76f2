// The folders the program works with: the program folder (where the
// executable lies, with the templates in system/ and the look in Styles/)
// and the per-user folder it works in.
#pragma once

#include <QString>

// The folder of the running executable.
QString ProgramFolder();
// ProgramFolder() + "/Styles".
QString StylesFolder();
// A per-user writable folder (the cache location), created when missing
// and readable by its owner only. The program makes it its current folder,
// so that nothing relative ever lands in "/" or a read-only folder.
QString WorkFolder();
// The folder of a path: the text before its last separator ("/" or "\"),
// empty when there is none or only one at the start.
QString FolderOfPath(const QString &path);
// The canonical form of a path for comparisons: the canonical path of an
// existing file, else the cleaned absolute path.
QString CanonicalPath(const QString &path);
