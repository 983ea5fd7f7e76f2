// Chinese texts for errno values.
#include "db/errno_text.h"

#include <QDir>

#include <cerrno>
#include <cstring>

QString ErrnoText(int error) {
  switch (error) {
  case ENOSPC:
    return QStringLiteral("磁盘已满");
  case EDQUOT:
    return QStringLiteral("磁盘配额已用完");
  case EACCES:
  case EPERM:
    return QStringLiteral("没有权限");
  case EROFS:
    return QStringLiteral("文件系统是只读的");
  case ENAMETOOLONG:
    return QStringLiteral("文件名太长");
  case ENOENT:
    return QStringLiteral("文件或文件夹不存在");
  case ENOTDIR:
    return QStringLiteral("路径中有一部分不是文件夹");
  case EISDIR:
    return QStringLiteral("这是一个文件夹");
  case ELOOP:
    return QStringLiteral("这是一个符号链接");
  case EEXIST:
    return QStringLiteral("文件已存在");
  case EINVAL:
    return QStringLiteral("不是普通文件");
  case EIO:
    return QStringLiteral("读写出错");
  default:
    return QString::fromLocal8Bit(std::strerror(error));
  }
}

QString ScratchFolderMessage(const QString &folder, int error) {
  return QStringLiteral("无法在文件夹 %1 中写入临时文件：%2")
      .arg(QDir::toNativeSeparators(folder), ErrnoText(error));
}
