// Opening, loading and switching an account file, and its listeners.
#include "document/account_file.h"

#include "db/account_check.h"
#include "storage/compaction.h"
#include "db/db_visiter.h"
#include "db/db_visiter_factory.h"
#include "db/errno_text.h"
#include "db/file_path.h"
#include "storage/file_lock.h"
#include "base/prompt.h"
#include "document/schema_upgrade.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "model/column_store.h"
#include "records/command_history.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

AccountFile::AccountFile()
    : root_(std::make_unique<GroupNode>()),
      history_(std::make_unique<CommandHistory>(*this)) {}

AccountFile::~AccountFile() = default;

namespace {

// Why the lock of path could not be taken.
QString LockRefusal(const QString &path, AccountFileLock::Result result,
                    const AccountFileLock &lock) {
  if (result == AccountFileLock::Busy)
    return FileBusyMessage();
  return QStringLiteral("无法使用账簿文件的锁文件 %1：%2")
      .arg(QDir::toNativeSeparators(AccountFileLock::LockFilePath(path)),
           ErrnoText(lock.Error()));
}

// The lock of path for writing, or null (after the message) when another
// process holds it or the lock file cannot be used: nothing is ever
// written without the lock.
std::unique_ptr<AccountFileLock> LockForWriting(const QString &path) {
  auto lock = std::make_unique<AccountFileLock>();
  const AccountFileLock::Result result = lock->Acquire(path);
  if (result == AccountFileLock::Taken)
    return lock;
  ShowMessage(LockRefusal(path, result, *lock));
  return nullptr;
}

// Reading never writes; a file that must be upgraded before it can be read
// is upgraded here, once, under its lock and through a session that writes,
// which goes again afterwards. A file that lacks only the rebuild of its
// text indexes is read as it is when nobody may write it or another process
// holds it; one of the older layout is refused then.
bool UpgradeBeforeReading(const QString &path, CDBVisiter &reader) {
  CDBVisiterFactory &factory = CDBVisiterFactory::Instance();
  const bool oldLayout = !HasCurrentLayout(reader.GetConnection());
  factory.RemoveVisiter(path);
  if (!MayWriteFile(path)) {
    if (!oldLayout)
      return true;
    ShowMessage(QStringLiteral("账簿文件需要升级后才能读取，但它是只读的：%1")
                    .arg(path));
    return false;
  }
  // The upgrade writes, so it needs the lock like any writer.
  AccountFileLock lock;
  const AccountFileLock::Result locked = lock.Acquire(path);
  if (locked != AccountFileLock::Taken) {
    if (!oldLayout)
      return true;
    ShowMessage(LockRefusal(path, locked, lock));
    return false;
  }
  CDBVisiter *writer = factory.GetVisiter(path);
  const bool upgraded = writer && UpgradeSchema(*writer);
  factory.RemoveVisiter(path);
  return upgraded;
}

// A writer killed while it committed leaves a hot journal beside the file,
// which a read-only connection cannot roll back: it refuses the file. A
// writing session, under the lock, rolls it back first (its open reads the
// file). Without the lock or the right to write, the reader goes ahead and
// says what it finds.
void RollBackBeforeReading(const QString &path) {
  if (QFileInfo(path + QStringLiteral("-journal")).size() <= 0 ||
      !MayWriteFile(path))
    return;
  AccountFileLock lock;
  if (lock.Acquire(path) != AccountFileLock::Taken)
    return;
  CDBVisiterFactory &factory = CDBVisiterFactory::Instance();
  factory.GetVisiter(path);
  factory.RemoveVisiter(path);
}

} // namespace

bool AccountFile::OpenAccountFile(const QString &path) {
  return OpenAccountFile(path, ForWriting);
}

bool AccountFile::OpenAccountFile(const QString &path, OpenMode mode) {
  if (path.isEmpty() || !QFileInfo(path).isFile())
    return false;
  // A file that may not be written is said to be so before its lock is
  // tried: on a read-only file system the lock file cannot be made either.
  if (mode == ForWriting && !MayWriteFile(path) &&
      errno != ENOENT) {
    ShowMessage(ReadOnlyFileMessage(path));
    return false;
  }
  std::unique_ptr<AccountFileLock> lock;
  if (mode == ForWriting && !(lock = LockForWriting(path)))
    return false;
  // The file open before is compacted under its own lock, which goes after.
  CloseSession();
  lock_ = std::move(lock);
  // Nothing of a previous file may stay loaded against the new one, not
  // even when the new one fails to load.
  Unload();
  path_ = path;
  session_ = OpenSession(path, mode);
  // A file that cannot be opened has shown its message; nothing is loaded.
  if (!session_) {
    path_.clear();
    lock_.reset();
    return false;
  }
  if (!UpgradeSchema(*session_))
    return false;
  LoadAccountFile();
  Notify(HINT_ALL);
  history_->Clear();
  return true;
}

CDBVisiter *AccountFile::OpenSession(const QString &path, OpenMode mode) {
  CDBVisiterFactory &factory = CDBVisiterFactory::Instance();
  if (mode == ForWriting)
    return factory.GetVisiter(path);
  const int type = CDBVisiterFactory::kReadingSession;
  RollBackBeforeReading(path);
  CDBVisiter *reader = factory.GetVisiter(type, path);
  if (!reader || !reader->NeedsUpgrade())
    return reader;
  return UpgradeBeforeReading(path, *reader) ? factory.GetVisiter(type, path)
                                             : nullptr;
}

void AccountFile::LoadGroups() {
  if (!session_) {
    root_->children.clear();
    largestGroupId_ = 0;
    return;
  }
  largestGroupId_ = LoadGroupTree(*session_, columns_.KeyFieldName(), *root_);
}

void AccountFile::CloseSession() {
  if (path_.isEmpty())
    return;
  // Only a file open for writing is compacted: reading never writes.
  if (session_ && !session_->IsReadOnly())
    CompactAccountFile(path_);
  else
    CDBVisiterFactory::Instance().RemoveVisiter(path_);
  session_ = nullptr;
}

bool AccountFile::LoadAccountFile() {
  if (!session_)
    return true;
  LoadColumns(*session_, columns_);
  LoadGroups();
  settings_ = LoadMiscSettings(*session_);
  LoadViews(*session_, views_);
  return true;
}

bool AccountFile::SwitchAccountFile(const QString &path) {
  CDBVisiterFactory &factory = CDBVisiterFactory::Instance();
  std::unique_ptr<AccountFileLock> lock = LockForWriting(path);
  if (!lock)
    return false;
  if (CDBVisiter *session = factory.GetVisiter(path)) {
    session_ = session;
    path_ = path;
    lock_ = std::move(lock);
    return true;
  }
  session_ = factory.GetVisiter(path_);
  return false;
}

void AccountFile::Unload() {
  columns_.Clear();
  root_->children.clear();
  largestGroupId_ = 0;
  views_.views.clear();
  settings_ = MiscSettings();
  history_->Clear();
}

void AccountFile::Close() {
  if (path_.isEmpty())
    return;
  CloseSession();
  lock_.reset();
  path_.clear();
  Unload();
}

bool AccountFile::IsReadOnly() const {
  return session_ && session_->IsReadOnly();
}

bool AccountFile::RefuseChange() const {
  if (!IsReadOnly())
    return false;
  ShowMessage(ReadOnlyFileMessage(path_));
  return true;
}

void AccountFile::Notify(unsigned hint) {
  // A listener may remove itself while being told; walk a copy.
  const QList<AccountFileListener *> listeners = listeners_;
  for (AccountFileListener *listener : listeners)
    if (listeners_.contains(listener))
      listener->Notify(*this, hint);
}

void AccountFile::AddListener(AccountFileListener *listener) {
  if (listener && !listeners_.contains(listener))
    listeners_.append(listener);
}

void AccountFile::RemoveListener(AccountFileListener *listener) {
  listeners_.removeAll(listener);
}

void AccountFile::RecordsChanged() {
  Notify(HINT_RECORDS | HINT_PIE_SERIES | HINT_BAR_SERIES);
}

void AccountFile::ChangesRecorded() {
  Notify(HINT_PIE_SERIES | HINT_BAR_SERIES);
}
