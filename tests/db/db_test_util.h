// Helpers shared by the database tests: minimal account files made through
// the Jet adapter, file bytes, and a session opened on a fresh file.
#pragma once

#include "base/scripted_prompt.h"
#include "db/access_visiter.h"
#include "db/jet_dialect.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString &text, std::ostream *os) {
  *os << '"' << text.toStdString() << '"';
}

namespace dbtest {

// Runs Jet statements on a raw SQLite connection, as the template builder
// does; fails the test on the first error.
inline void RunJet(sqlite3 *db, const QStringList &statements) {
  for (const QString &jet : statements) {
    QByteArray sql;
    QString error;
    ASSERT_TRUE(TranslateJetSql(jet, sql, &error)) << qPrintable(jet) << ": "
                                                   << qPrintable(error);
    char *message = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message), SQLITE_OK)
        << sql.constData() << ": " << (message ? message : "");
  }
}

// The four tables that make a file an account file, plus whatever extra
// statements a test wants.
inline QString MakeAccountFile(const QString &path,
                               const QStringList &extra = QStringList()) {
  QFile::remove(path);
  sqlite3 *db = nullptr;
  EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
  QStringList statements = {
      "Create Table Users ([ID] integer, [Data] date, [Moment] time, "
      "[Stamp] datetime, [Amount] float, [Count] integer, [Item] varchar(50), "
      "[Memo] text, [trelva_Group_ID] int)",
      "Create Table TableStyle ([ID] integer Primary Key, [编号] integer, "
      "[字段名] text, [标题] text, [启用] yes/no, [数据类型] integer, "
      "[只读] yes/no, [宽度] integer, [选项] text, [默认值] varchar(50))",
      "Create Table ViewMap ([SortIndex] integer, [ItemSql] text, [ItemName] text)",
      "Create Table miscellaneous ([MainShowTip] text, [bGridAutoSize] yes/no, "
      "[bExpandColumnsToFit] yes/no, [bShowLastLine] yes/no)",
      "Insert Into miscellaneous ([MainShowTip], [bGridAutoSize], "
      "[bExpandColumnsToFit], [bShowLastLine]) Values ('tip', true, false, true)",
      "Create Table [FilterMemory] ([ID] COUNTER Primary Key, [ClassID] int, "
      "[Title] text null, [flValue] Image)",
  };
  statements += extra;
  RunJet(db, statements);
  sqlite3_close(db);
  return path;
}

inline QByteArray FileBytes(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return QByteArray();
  return file.readAll();
}

inline void WriteBytes(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

// A session on a fresh account file in its own temporary folder, with a
// scripted prompt that records every message.
class SessionTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = MakeAccountFile(dir_.filePath(QStringLiteral("book.fz")), ExtraStatements());
    session_ = std::make_unique<CAccessVisiter>(path_);
    ASSERT_TRUE(session_->Open()) << qPrintable(prompt_.Last());
  }
  virtual QStringList ExtraStatements() const { return QStringList(); }

  // Executes and expects success, with the prompt's last text on failure.
  void Exec(const QString &sql) {
    ASSERT_TRUE(session_->Execute(sql)) << qPrintable(sql) << ": "
                                        << qPrintable(prompt_.Last());
  }

  QTemporaryDir dir_;
  QString path_;
  ScriptedPrompt prompt_;
  ScopedPrompt scoped_{prompt_};
  std::unique_ptr<CAccessVisiter> session_;
};

} // namespace dbtest
