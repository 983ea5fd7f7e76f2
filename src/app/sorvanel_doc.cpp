// Opening, saving and closing a document's account file.
#include "app/sorvanel_doc.h"

#include "app/program_paths.h"
#include "base/prompt.h"
#include "db/db_visiter_factory.h"
#include "db/file_path.h"
#include "document/account_file.h"
#include "document/save_as.h"
#include "storage/backup_store.h"

#include <QFile>
#include <QFileInfo>

CSorvanelDoc::CSorvanelDoc() : file_(std::make_unique<AccountFile>()) {}

CSorvanelDoc::~CSorvanelDoc() = default;

QString CSorvanelDoc::Path() const { return file_->Path(); }

QString CSorvanelDoc::CanonicalPath() const {
  return ::CanonicalPath(file_->Path());
}

QString CSorvanelDoc::Title() const {
  return QFileInfo(file_->Path()).fileName();
}

bool CSorvanelDoc::Open(const QString &path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (path.isEmpty() || !QFileInfo(absolute).isFile())
    return false;
  // The baseline comes first: the open itself may upgrade an older file.
  TakeBaseline(absolute);
  // A file nobody may write is shown for viewing only.
  const bool readOnly = !MayWriteFile(absolute);
  const AccountFile::OpenMode mode =
      readOnly ? AccountFile::ForReading : AccountFile::ForWriting;
  if (file_->OpenAccountFile(absolute, mode)) {
    if (readOnly)
      ShowMessage(QStringLiteral("账簿文件是只读的，只能查看，不能修改。"));
    return true;
  }
  // A file whose upgrade or load failed must not stay half open: its
  // session goes, and the document is left empty.
  CDBVisiterFactory::Instance().RemoveVisiter(absolute);
  file_ = std::make_unique<AccountFile>();
  return false;
}

bool CSorvanelDoc::Save() {
  ShowMessage(QStringLiteral("账簿文件会实时更新，不需要手动保存！"));
  return false;
}

bool CSorvanelDoc::SaveAs(const QString &newPath) {
  if (!file_->IsOpen() || newPath.isEmpty())
    return false;
  const QString target = QFileInfo(newPath).absoluteFilePath();
  if (::CanonicalPath(target) == CanonicalPath())
    return Save();
  changed_ = Changed();
  if (!SaveAccountFileAs(*file_, target))
    return false;
  TakeBaseline(target);
  emit PathChanged(target);
  return true;
}

void CSorvanelDoc::TakeBaseline(const QString &path) {
  const QFileInfo info(path);
  baselineTime_ = info.exists() ? info.lastModified() : QDateTime();
  baselineSize_ = info.exists() ? info.size() : -1;
}

bool CSorvanelDoc::Changed() const {
  if (changed_)
    return true;
  const QFileInfo info(file_->Path());
  return info.exists() &&
         (info.lastModified() != baselineTime_ || info.size() != baselineSize_);
}

void CSorvanelDoc::Close() {
  const QString path = file_->Path();
  if (path.isEmpty())
    return;
  const bool changed = Changed();
  file_->Close();
  // The backup is a copy of the closed, compacted file; a failure has been
  // shown and leaves the account file as it is.
  if (changed)
    BackupAfterClose(path);
  changed_ = false;
}
