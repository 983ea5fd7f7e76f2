// Writing a report file whole or not at all; see report_file.h.
#include "print/report_file.h"

#include "db/errno_text.h"
#include "storage/file_copy.h"
#include "storage/scratch_file.h"

#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {

bool Fail(const QString &path, const QString &cause, QString *error) {
  *error = QStringLiteral("无法写入文件：%1（%2）").arg(path, cause);
  return false;
}

} // namespace

bool WriteWholeFile(const QString &path,
                    const std::function<bool(const QString &scratchPath)> &write,
                    QString *error) {
  const QFileInfo target(path);
  if (target.isDir())
    return Fail(path, QStringLiteral("这是一个文件夹"), error);
  ScratchFile scratch;
  if (!scratch.Create(target.absolutePath(), target.fileName()))
    return Fail(path, ErrnoText(errno), error);
  if (!write(scratch.Path())) {
    scratch.Remove();
    return Fail(path, QStringLiteral("写入失败"), error);
  }
  // A new file of the user's: the mode the umask gives.
  if (::fchmod(scratch.Descriptor(), NewFileMode()) == 0 &&
      scratch.MoveTo(path, true))
    return true;
  const int cause = errno;
  scratch.Remove();
  return Fail(path, ErrnoText(cause), error);
}
