// Complete-or-nothing file copies: the bytes go to a scratch file beside
// the destination (scratch_file.h), are flushed to disk, and only then take
// the destination's name.
#pragma once

#include <QString>

#include <sys/types.h>

// Copies the regular file source into the open, empty file out and flushes
// it to disk. False with errno on failure; *writing (when given) tells
// whether it was out that could not be written (a full disk) rather than
// source that could not be read.
bool CopyFileInto(const QString &source, int out, bool *writing = nullptr);

// Gives temporary the name target: replacing a file there when replace is
// true, failing when one exists otherwise. errno tells why it failed.
bool MoveIntoPlace(const QString &temporary, const QString &target, bool replace);

// Flushes a directory's entries, so that a rename survives a crash.
void SyncDirectory(const QString &directory);

// The permission bits of a new file made by the user: 0666 less the umask,
// as any editor's new files.
mode_t NewFileMode();
