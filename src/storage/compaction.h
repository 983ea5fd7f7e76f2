// Compacting an account file when it stops being used, and copying one file
// over another (save under a new name, a new file from a template).
//
// Neither ever leaves a half-written file at the target path: the new
// content is written to a temporary file beside the target, flushed to disk
// and renamed into place, so the target is always either exactly as before
// or exactly the new content.
#pragma once

#include <QString>

// Drops the path's session, then writes a compacted copy of the file
// (VACUUM INTO) to a scratch file beside it (scratch_file.h), gives the copy
// the file's owner, group and mode and renames it over the file. A link is
// followed: the file it leads to is compacted, the link stays. False without
// a message for an empty path or a missing file; false with a message that
// names the folder or file and the cause when the copy cannot be written
// (the engine's text when the file cannot be read), when the owner or mode
// cannot be kept, or when the file cannot be replaced ("替换文件失败！" and
// the reason). The account file is untouched by every failure, and no
// scratch file is left behind.
bool CompactAccountFile(const QString &path);

// Puts a copy of source at target (at the file a link there leads to),
// replacing a file there, which keeps its mode; a new file gets the mode
// the umask gives. Shows "替换文件失败！" with the reason when source cannot
// be copied and "删除文件失败！" when the file at target cannot be replaced;
// target is unchanged then.
bool ReplaceFile(const QString &target, const QString &source);
