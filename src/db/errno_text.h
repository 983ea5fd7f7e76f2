// Chinese texts for the system's error numbers, for messages that say why a
// file or folder could not be used.
#pragma once

#include <QString>

// A short Chinese text for errno value error ("磁盘已满", "没有权限", ...);
// the system's own text for the rare ones without one.
QString ErrnoText(int error);

// "无法在文件夹 <folder> 中写入临时文件：<cause>": a scratch file could not be
// made or written there.
QString ScratchFolderMessage(const QString &folder, int error);
