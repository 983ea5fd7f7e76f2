// Child process of the recurring crash test: opens the account file given
// as its argument for writing, adds the occurrences of its recurring
// records due up to 2026-06-30 as the dialog's "确定" does, prints "made"
// and then waits, the file still open, until the parent kills it.
#include "base/prompt.h"
#include "document/account_file.h"
#include "recurring/due_occurrences.h"
#include "recurring/recurring_store.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2)
    return 2;
  SilentPrompt silent;
  ScopedPrompt scoped(silent);
  AccountFile file;
  if (!file.OpenAccountFile(QString::fromLocal8Bit(argv[1])))
    return 1;
  const QList<RecurringRecord> records = LoadRecurringRecords(file);
  if (!AddOccurrences(file, records,
                      DueOccurrences(records, QDate(2026, 6, 30))))
    return 1;
  std::printf("made\n");
  std::fflush(stdout);
  for (;;)
    pause();
}
