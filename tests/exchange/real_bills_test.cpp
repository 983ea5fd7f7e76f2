// Bills in the real layouts of payment services and banks (our own samples,
// written from the published facts of each format, in data/bills/), each
// imported into a new 收支账本 as a household does: the layout recognised,
// the expenses and the income stored with their counts and sums, the dates
// those of the file, what is left unticked and what is refused as said in
// the sample's .expect.json, and nothing new the second time.
#include "exchange/statement_import.h"

#include "exchange_test_file.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

struct Outcome {
  QString layout;
  int expenses = 0, income = 0, unticked = 0, bad = 0;
  double expenseSum = 0, incomeSum = 0;
  QStringList dates;
};

// Imports path into file's first group; what came of it.
Outcome Import(AccountFile &file, const QString &path, int *stored) {
  Outcome outcome;
  StatementImport import(file);
  QString error;
  if (!import.Open(path, &error)) {
    ADD_FAILURE() << qPrintable(path) << ": " << qPrintable(error);
    return outcome;
  }
  if (import.Layout())
    outcome.layout = import.Layout()->name;
  ImportCheck check;
  if (!import.Check(&check, {}, &error)) {
    ADD_FAILURE() << qPrintable(path) << ": " << qPrintable(error);
    return outcome;
  }
  for (const CheckedLine &line : check.lines) {
    if (line.state == LineState::Bad)
      ++outcome.bad;
    else if (!line.ticked)
      ++outcome.unticked;
  }
  bool cancelled = false;
  *stored = import.Store(check, check.TickedLines(), {}, &cancelled, &error);
  EXPECT_GE(*stored, 0) << qPrintable(error);
  return outcome;
}

} // namespace

TEST_F(ExchangeTest, RealBillLayoutsImportAsTheirSamplesSay) {
  const QDir folder(Data(QStringLiteral("bills")));
  const QStringList expectations =
      folder.entryList({QStringLiteral("*.expect.json")}, QDir::Files, QDir::Name);
  ASSERT_FALSE(expectations.isEmpty());
  for (const QString &name : expectations) {
    const QString id = name.left(name.size() - int(qstrlen(".expect.json")));
    const QStringList samples =
        folder.entryList({id + QStringLiteral(".*")}, QDir::Files);
    QString sample;
    for (const QString &candidate : samples)
      if (!candidate.endsWith(QStringLiteral(".json")))
        sample = folder.filePath(candidate);
    ASSERT_FALSE(sample.isEmpty()) << qPrintable(id);
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject expect = QJsonDocument::fromJson(file.readAll()).object();

    SCOPED_TRACE(id.toStdString());
    AccountFile ledger;
    OpenFresh(ledger, id, QStringLiteral("收支账本"));
    int stored = 0;
    Outcome got = Import(ledger, sample, &stored);
    for (const QString &row :
         Rows(ledger, QStringLiteral("Select Direction, Amount, Data From Users"))) {
      const QStringList cells = row.split(QLatin1Char('|'));
      const double amount = cells.value(1).toDouble();
      EXPECT_NE(amount, 0) << qPrintable(row);
      if (cells.value(0) == QStringLiteral("支出")) {
        ++got.expenses;
        got.expenseSum += amount;
      } else if (cells.value(0) == QStringLiteral("收入")) {
        ++got.income;
        got.incomeSum += amount;
      }
      const QDate day = QDate::fromString(cells.value(2).section(QLatin1Char(' '), 0, 0),
                                          QStringLiteral("yyyy/M/d"));
      const QString date = day.toString(QStringLiteral("yyyy-MM-dd"));
      if (!got.dates.contains(date))
        got.dates.append(date);
    }
    got.dates.sort();
    EXPECT_EQ(got.layout, expect.value("layout").toString());
    const QJsonObject expenses = expect.value("expenses").toObject();
    const QJsonObject income = expect.value("income").toObject();
    EXPECT_EQ(got.expenses, expenses.value("count").toInt());
    EXPECT_NEAR(got.expenseSum, expenses.value("sum").toString().toDouble(), 0.005);
    EXPECT_EQ(got.income, income.value("count").toInt());
    EXPECT_NEAR(got.incomeSum, income.value("sum").toString().toDouble(), 0.005);
    EXPECT_EQ(got.unticked, expect.value("unticked").toInt());
    EXPECT_EQ(got.bad, expect.value("bad").toInt());
    QStringList dates;
    for (const QJsonValue &date : expect.value("dates").toArray())
      dates.append(date.toString());
    EXPECT_EQ(got.dates, dates);

    int again = -1;
    Import(ledger, sample, &again);
    EXPECT_EQ(again, 0) << "imported again";
  }
}
