// make-template: builds a template account file from a script of Jet
// statements, one per line, translated exactly as the session translates the
// statements of the running program. The file is written beside the target
// and renamed into place only when every statement succeeded.
#include "db/jet_collation.h"
#include "db/jet_dialect.h"

#include <QFile>
#include <QString>
#include <QTextStream>

#include <sqlite3.h>

#include <cstdio>

namespace {

int Fail(const QString &text) {
  std::fprintf(stderr, "make-template: %s\n", qPrintable(text));
  return 1;
}

bool RunScript(sqlite3 *db, const QString &scriptPath, QString &error) {
  QFile script(scriptPath);
  if (!script.open(QIODevice::ReadOnly | QIODevice::Text)) {
    error = QStringLiteral("cannot read %1").arg(scriptPath);
    return false;
  }
  QTextStream in(&script);
  in.setEncoding(QStringConverter::Utf8);
  int lineNumber = 0;
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    ++lineNumber;
    if (line.isEmpty() || line.startsWith(QLatin1String("--")))
      continue;
    QByteArray sql;
    QString translateError;
    if (!TranslateJetSql(line, sql, &translateError)) {
      error = QStringLiteral("%1:%2: %3").arg(scriptPath).arg(lineNumber).arg(translateError);
      return false;
    }
    char *message = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
      error = QStringLiteral("%1:%2: %3").arg(scriptPath).arg(lineNumber).arg(
          QString::fromUtf8(message ? message : "error"));
      sqlite3_free(message);
      return false;
    }
  }
  return true;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3)
    return Fail(QStringLiteral("usage: make-template SCRIPT OUTPUT.fz"));
  const QString scriptPath = QString::fromLocal8Bit(argv[1]);
  const QString outputPath = QString::fromLocal8Bit(argv[2]);
  const QString partPath = outputPath + QStringLiteral(".part");
  QFile::remove(partPath);

  sqlite3 *db = nullptr;
  if (sqlite3_open(partPath.toUtf8().constData(), &db) != SQLITE_OK) {
    sqlite3_close(db);
    return Fail(QStringLiteral("cannot create %1").arg(partPath));
  }
  // Text indexes are built in the order the session compares texts in.
  RegisterJetCollation(db);
  QString error;
  const bool ok = RunScript(db, scriptPath, error) && MarkFoldedTextOrder(db);
  sqlite3_close(db);
  if (!ok) {
    QFile::remove(partPath);
    return Fail(error);
  }
  QFile::remove(outputPath);
  if (!QFile::rename(partPath, outputPath))
    return Fail(QStringLiteral("cannot write %1").arg(outputPath));
  return 0;
}
