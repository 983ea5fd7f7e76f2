// Writing a report file whole or not at all: the bytes go to a scratch file
// beside the target (storage/scratch_file.h), which takes the target's name
// only once it is complete, so a failure leaves no partial file and the
// file that was there before stays.
#pragma once

#include <QString>

#include <functional>

// Runs write on the scratch file's path, then moves the scratch file onto
// path. False with "无法写入文件：<path>（<cause>）" in error when the folder
// cannot take the file or write fails.
bool WriteWholeFile(const QString &path,
                    const std::function<bool(const QString &scratchPath)> &write,
                    QString *error);
