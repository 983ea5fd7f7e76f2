// Child process of the crash tests: works on the account file given as its
// last argument until the parent kills it with SIGKILL, printing a line as
// soon as each piece of work is confirmed.
//
//   crash_child PATH           inserts rows for ever, printing each key
//   crash_child lock PATH      takes the file's lock, prints "locked", sleeps
//   crash_child compact PATH   compacts the file over and over
//   crash_child close PATH     opens the file, stores 10 records (printing
//                              each key), closes it (which compacts) and
//                              backs it up, as the program does, printing
//                              "closed"; again
//   crash_child paste PATH     stores units of 1,000 records in group 2, as
//                              a paste does, printing "unit" after each
//   crash_child columns PATH   adds a column, drops the one added before and
//                              changes a type, as the options sheet does,
//                              printing "applied" after each round
#include "db/access_visiter.h"
#include "storage/compaction.h"
#include "db/db_visiter.h"
#include "storage/file_lock.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "document/account_file.h"
#include "storage/backup_store.h"
#include "model/column_def.h"
#include "model/column_store.h"
#include "records/command_history.h"
#include "records/record_key.h"
#include "records/row_item.h"

#include <QString>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

void Say(const char *text) {
  std::printf("%s\n", text);
  std::fflush(stdout);
}

int InsertForEver(const QString &path) {
  CAccessVisiter session(path);
  if (!session.Open())
    return 1;
  for (int key = 1;; ++key) {
    const QString sql =
        QStringLiteral("INSERT INTO Users([ID],[Item],[Memo],[trelva_Group_ID]) "
                       "VALUES (%1,'item %1','%2',2)")
            .arg(key)
            .arg(QString(200, QLatin1Char('x')));
    if (!session.Execute(sql))
      return 1;
    std::printf("%d\n", key);
    std::fflush(stdout);
  }
}

int HoldLock(const QString &path) {
  AccountFileLock lock;
  if (lock.Acquire(path, 0) != AccountFileLock::Taken)
    return 1;
  Say("locked");
  for (;;)
    ::pause();
}

int CompactForEver(const QString &path) {
  for (;;) {
    if (!CompactAccountFile(path))
      return 1;
    Say("compacted");
  }
}

int CloseForEver(const QString &path) {
  for (;;) {
    AccountFile file;
    if (!file.OpenAccountFile(path))
      return 1;
    CDBVisiter &session = *file.Session();
    int key = 0;
    if (session.Query(QStringLiteral("Select Max(ID) From Users")))
      key = session.GetInt(0);
    for (int i = 0; i < 10; ++i) {
      ++key;
      if (!session.Execute(QStringLiteral("INSERT INTO Users([ID],[Item],[Memo],"
                                          "[trelva_Group_ID]) VALUES (%1,'item %1','%2',2)")
                               .arg(key)
                               .arg(QString(2000, QLatin1Char('m')))))
        return 1;
      std::printf("%d\n", key);
      std::fflush(stdout);
    }
    file.Close();
    if (!BackupAfterClose(path))
      return 1;
    Say("closed");
  }
}

int PasteForEver(const QString &path) {
  AccountFile file;
  if (!file.OpenAccountFile(path))
    return 1;
  GroupNode *group = FindGroupNode(file.Root(), 2);
  if (!group)
    return 1;
  for (;;) {
    QList<CRowItem> rows;
    for (int i = 0; i < 1000; ++i) {
      CRowItem row = CRowItem::EmptyRow(file, group->id);
      row.FillNewRowDefaults(TakeNewKey(group));
      rows.append(row);
    }
    if (file.History().AddRows(rows) != 1000)
      return 1;
    Say("unit");
  }
}

int ColumnsForEver(const QString &path) {
  AccountFile file;
  if (!file.OpenAccountFile(path))
    return 1;
  CDBVisiter &session = *file.Session();
  // Rounds go on from where a killed child left them.
  int first = 1;
  ColumnDef previous;
  if (session.Query(QStringLiteral("Select Max(ID) From TableStyle")) &&
      session.GetInt(0) > 100) {
    first = session.GetInt(0) - 99;
    previous.id = first + 99;
    previous.fieldName = QStringLiteral("Extra%1").arg(first - 1);
  }
  for (int round = first;; ++round) {
    ColumnDef column;
    column.id = 100 + round;
    column.order = 100 + round;
    column.width = 60;
    column.fieldName = QStringLiteral("Extra%1").arg(round);
    column.title = QStringLiteral("附加%1").arg(round);
    column.type = round % 2 ? FT_INTEGER : FT_TEXT;
    if (!InsertColumn(session, column))
      return 1;
    if (previous.id && !DeleteColumn(session, previous))
      return 1;
    column.type = column.type == FT_INTEGER ? FT_FLOAT : FT_MEMO;
    if (!UpdateColumn(session, column))
      return 1;
    previous = column;
    Say("applied");
  }
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 2)
    return InsertForEver(QString::fromLocal8Bit(argv[1]));
  if (argc != 3)
    return 2;
  const QString path = QString::fromLocal8Bit(argv[2]);
  const char *mode = argv[1];
  if (std::strcmp(mode, "lock") == 0)
    return HoldLock(path);
  if (std::strcmp(mode, "compact") == 0)
    return CompactForEver(path);
  if (std::strcmp(mode, "close") == 0)
    return CloseForEver(path);
  if (std::strcmp(mode, "paste") == 0)
    return PasteForEver(path);
  if (std::strcmp(mode, "columns") == 0)
    return ColumnsForEver(path);
  return 2;
}
