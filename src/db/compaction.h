// Compacting an account file when it stops being used, and copying one file
// over another (save under a new name, a new file from a template).
//
// Neither ever leaves a half-written file at the target path: the new
// content is written to a temporary file beside the target, flushed to disk
// and renamed into place, so the target is always either exactly as before
// or exactly the new content.
#pragma once

#include <QString>

// Drops the path's session, then writes a compacted copy of the file to
// "temp.mdb" in the current directory (VACUUM INTO), replaces the account
// file with it atomically and removes "temp.mdb". The scratch file is locked
// meanwhile (file_lock.h): a "temp.mdb" that no living process holds is left
// over from a crash and is emptied first; one that another compaction holds
// for more than a second fails this one with the engine's text "output file
// already exists". False without a message for an empty path or a missing
// file; false with the engine's text when the compaction fails; false with
// "替换文件失败！" when the account file cannot be replaced. The account file
// is untouched by every failure.
bool CompactAccountFile(const QString &path);

// Puts a copy of source at target, replacing a file there. Shows
// "替换文件失败！" when source cannot be copied and "删除文件失败！" when the
// file at target cannot be replaced; target is unchanged then.
bool ReplaceFile(const QString &target, const QString &source);
