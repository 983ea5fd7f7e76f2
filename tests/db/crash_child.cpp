// Child process of the crash test: opens the account file given as its
// argument and inserts rows for ever, printing each key on its own line as
// soon as Execute has confirmed the row. The parent kills it with SIGKILL.
#include "db/access_visiter.h"

#include <QString>

#include <cstdio>

int main(int argc, char **argv) {
  if (argc != 2)
    return 2;
  CAccessVisiter session(QString::fromLocal8Bit(argv[1]));
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
