// One open account file: its columns, group tree, views, settings, undo
// history, listeners, path and database session.
#pragma once

#include "document/change_hints.h"
#include "model/column_list.h"
#include "model/misc_settings.h"
#include "model/view_list.h"
#include "records/record_file.h"

#include <QList>
#include <QString>

#include <memory>

class AccountFileLock;
class CDBVisiter;
class CommandHistory;
class AccountFile;
struct GroupNode;

// Something told about the changes of an account file.
class AccountFileListener {
public:
  virtual ~AccountFileListener() = default;
  virtual void Notify(AccountFile &file, unsigned hint) = 0;
};

class AccountFile : public RecordFile {
public:
  AccountFile();
  ~AccountFile() override;

  // Opens path: compacts a file already open here, upgrades the schema,
  // loads everything, notifies 0xFFFF and clears the history.
  //
  // For writing (the program, and every command that changes a file), the
  // file's lock is taken first (db/file_lock.h), waiting a short while for
  // another process to let go of it. A file that another process keeps
  // shows "账簿文件正在被其他程序使用！" and opens nothing; the file open
  // here before stays open then. So does a lock file that cannot be used
  // (a folder, a link, a folder where none can be made), with a message
  // naming the lock file and the cause. The lock is held until Close, the
  // next open or the end of this object. A file that cannot be written is
  // refused for writing.
  //
  // For reading (commands that only read, a file nobody may write) the
  // file is opened read-only and no lock is held: nothing is written, the
  // file is not compacted when it closes. A file of the older layout is
  // first upgraded once under its lock (refused when it cannot be
  // written); a file whose lock another process holds is refused then.
  enum OpenMode { ForWriting, ForReading };
  bool OpenAccountFile(const QString &path);
  bool OpenAccountFile(const QString &path, OpenMode mode);
  // Loads columns, group tree with each group's largest key, settings and
  // views from the session. Always true.
  bool LoadAccountFile();
  // After a save under a new name: the session of path replaces the old one.
  bool SwitchAccountFile(const QString &path);
  // Closes the open file, if any, and compacts it.
  void Close();

  // Calls every listener in registration order.
  void Notify(unsigned hint);
  // Listeners are not owned.
  void AddListener(AccountFileListener *listener);
  void RemoveListener(AccountFileListener *listener);

  // Notify the records and both chart series (7), or after a recorded
  // change, which the grids show already, the chart series only (6).
  void RecordsChanged() override;
  void ChangesRecorded() override;

  GroupNode &Root() { return *root_; }
  const GroupNode &Root() const { return *root_; }
  CommandHistory &History() { return *history_; }
  ColumnList &Columns() { return columns_; }
  const ColumnList &Columns() const override { return columns_; }
  ViewList &Views() { return views_; }
  MiscSettings &Settings() { return settings_; }
  const QString &Path() const { return path_; }
  // The session of the open file; null while no file is open.
  CDBVisiter *Session() const override { return session_; }
  bool IsOpen() const { return session_ != nullptr; }
  // Whether the open file was opened for reading: it can be viewed, and
  // nothing may be changed.
  bool IsReadOnly() const;
  // For commands that would change the file: true, after saying that the
  // file is read-only, when it was opened for reading.
  bool RefuseChange() const;

  // The largest group ID in use; new group IDs are drawn from it.
  int LargestGroupId() const { return largestGroupId_; }
  void SetLargestGroupId(int id) { largestGroupId_ = id; }
  // Loads the tree of the open file under the root and its largest group
  // ID; with no file open the tree is empty and the largest ID 0.
  void LoadGroups();

private:
  // The session of path: for reading a read-only one, after upgrading the
  // file under its lock when it needs that; null after a failure (shown).
  CDBVisiter *OpenSession(const QString &path, OpenMode mode);
  // Ends the session of the open file; a file open for writing is
  // compacted.
  void CloseSession();
  // Forgets the columns, groups, views, settings and history of a file.
  void Unload();

  std::unique_ptr<GroupNode> root_;
  std::unique_ptr<CommandHistory> history_;
  ColumnList columns_;
  ViewList views_;
  MiscSettings settings_;
  QList<AccountFileListener *> listeners_;
  QString path_;
  CDBVisiter *session_ = nullptr;
  int largestGroupId_ = 0;
  // The lock of the open file while it is open for writing.
  std::unique_ptr<AccountFileLock> lock_;
};
