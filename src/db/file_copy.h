// Complete-or-nothing file copies: the bytes go to a temporary file beside
// the destination, are flushed to disk, and only then take the
// destination's name.
#pragma once

#include <QString>

#include <sys/types.h>

// Copies source into a new temporary file in directory, flushed to disk and
// given mode; its path in temporary. On failure nothing is left behind.
bool CopyToTemporary(const QString &source, const QString &directory,
                     mode_t mode, QString &temporary);

// Gives temporary the name target: replacing a file there when replace is
// true, failing when one exists otherwise. errno tells why it failed.
bool MoveIntoPlace(const QString &temporary, const QString &target, bool replace);

// Flushes a directory's entries, so that a rename survives a crash.
void SyncDirectory(const QString &directory);

// The permission bits of a file, or fallback when it cannot be read.
mode_t FileMode(const QString &path, mode_t fallback);
