// The fixture of the import and export tests.
#include "exchange_test_file.h"

#include "db/db_visiter_factory.h"
#include "support/query_rows.h"
#include "support/template_copy.h"

#include <QDir>
#include <QFile>

void ExchangeTest::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  OpenFresh(file_, QStringLiteral("exchange"));
}

void ExchangeTest::TearDown() { CDBVisiterFactory::Instance().DestroyAll(); }

void ExchangeTest::OpenFresh(AccountFile &other, const QString &name,
                             const QString &templateName) {
  const QString path = CopyTemplate(dir_, templateName, name);
  ASSERT_TRUE(other.OpenAccountFile(path));
}

QString ExchangeTest::Data(const QString &name) {
  return QDir(QStringLiteral(EXCHANGE_DATA_DIR)).filePath(name);
}

QString ExchangeTest::TempPath(const QString &name) const {
  return QDir(dir_.path()).filePath(name);
}

QString ExchangeTest::WriteFile(const QString &name,
                                const QByteArray &bytes) const {
  const QString path = TempPath(name);
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return path;
}

QStringList ExchangeTest::Rows(AccountFile &file, const QString &sql) {
  return QueryRows(*file.Session(), sql);
}

QStringList ExchangeTest::Records(AccountFile &file, int groupId) {
  return Rows(file, QStringLiteral("Select Data, Item, Amount, Count, Total, "
                                   "Memo From Users Where trelva_Group_ID=%1 "
                                   "Order By ID")
                        .arg(groupId));
}
