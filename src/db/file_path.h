// What a path names on disk: the one real file behind its spellings (a
// link, "..", a relative path), and whether this process may write it.
#pragma once

#include <QString>

// The file path leads to through links, or, when it leads nowhere yet, the
// cleaned absolute path ("x/../f" names f even when x does not exist).
QString RealFilePath(const QString &path);

// Whether this process may write the file at path (its mode, a read-only
// file system); errno tells why not.
bool MayWriteFile(const QString &path);
