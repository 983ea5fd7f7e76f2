// Lines of imported bills; see bill_seen.h.
#include "exchange/bill_seen.h"

#include "db/db_visiter.h"
#include "db/insert_statements.h"
#include "exchange/statement_values.h"
#include "model/sql_text.h"

namespace {

const QStringList &SeenColumns() {
  static const QStringList columns{
      "Number", "Merchant", "Moment", "Amount", "Side",    "Counterpart", "Method",
      "Goods",  "Bill",   "Line",   "Outcome", "GroupID",     "RecordID"};
  return columns;
}

BoundValue Text(const QString &text) { return {BoundValue::Text, text}; }
BoundValue Number(double value) { return {BoundValue::Number, NumberText(value)}; }

} // namespace

std::vector<SeenLine> LoadSeenLines(CDBVisiter &session) {
  std::vector<SeenLine> lines;
  // The columns by position, in the order of SeenColumns: a file may hold
  // a hundred thousand lines seen, read at every check.
  const int rows = session.Query(QStringLiteral("Select [") +
                                 SeenColumns().join(QStringLiteral("], [")) +
                                 QStringLiteral("] From [BillSeen]"));
  if (rows <= 0) {
    session.CloseResult();
    return lines;
  }
  lines.reserve(size_t(rows));
  do {
    SeenLine line;
    line.number = session.GetString(0);
    line.merchant = session.GetString(1);
    line.moment = session.GetString(2);
    line.amount = session.GetString(3).toDouble();
    line.side = session.GetInt(4);
    line.counterpart = session.GetString(5);
    line.method = session.GetString(6);
    line.goods = session.GetString(7);
    line.bill = session.GetString(8);
    line.line = session.GetInt(9);
    line.outcome = session.GetString(10);
    line.groupId = session.GetInt(11);
    line.recordId = session.GetInt(12);
    lines.push_back(std::move(line));
  } while (session.MoveNext());
  session.CloseResult();
  return lines;
}

bool AddSeenLines(CDBVisiter &session, const std::vector<SeenLine> &lines) {
  const QString table = QStringLiteral("BillSeen");
  for (const SeenLine &line : lines) {
    const std::vector<BoundValue> values{
        Text(line.number),      Text(line.merchant), Text(line.moment),  Number(line.amount),
        Number(line.side),      Text(line.counterpart), Text(line.method),
        Text(line.goods),       Text(line.bill),    Number(line.line),
        Text(line.outcome),     Number(line.groupId), Number(line.recordId)};
    switch (session.InsertRow(table, SeenColumns(), values)) {
    case CDBVisiter::InsertStored:
      continue;
    case CDBVisiter::InsertFailed:
      return false;
    case CDBVisiter::InsertNotPrepared:
      break;
    }
    const QString sql = QString::asprintf(
        "Insert Into [BillSeen] ([Number], [Merchant], [Moment], [Amount], "
        "[Side], [Counterpart], [Method], [Goods], [Bill], [Line], [Outcome], "
        "[GroupID], [RecordID]) Values ('%s', '%s', '%s', %s, %d, '%s', '%s', "
        "'%s', '%s', %d, '%s', %d, %d)",
        QuotedSqlArg(line.number).constData(),
        QuotedSqlArg(line.merchant).constData(),
        QuotedSqlArg(line.moment).constData(),
        SqlArg(NumberText(line.amount)).constData(), line.side,
        QuotedSqlArg(line.counterpart).constData(),
        QuotedSqlArg(line.method).constData(),
        QuotedSqlArg(line.goods).constData(),
        QuotedSqlArg(line.bill).constData(), line.line,
        QuotedSqlArg(line.outcome).constData(), line.groupId, line.recordId);
    if (!session.Execute(sql))
      return false;
  }
  return true;
}

bool SeenRecordExists(CDBVisiter &session, const SeenLine &line) {
  const bool found =
      session.Query(QStringLiteral("Select ID From Users Where "
                                   "trelva_Group_ID=%1 And ID=%2")
                        .arg(line.groupId)
                        .arg(line.recordId)) > 0;
  session.CloseResult();
  return found;
}
