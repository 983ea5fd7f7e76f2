// Statements on table RecurringRecord; see recurring_store.h.
#include "recurring/recurring_store.h"

#include "base/prompt.h"
#include "db/db_visiter.h"
#include "db/unit_of_work.h"
#include "document/account_file.h"
#include "document/writable_session.h"
#include "model/sql_text.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

// Dates are kept as "yyyy-MM-dd" texts; empty for none.
QString DateText(const QDate &date) {
  return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

// Read by hand: the due check reads three dates of every record.
QDate ReadDate(const QString &text) {
  if (text.size() != 10 || text[4] != QLatin1Char('-') ||
      text[7] != QLatin1Char('-'))
    return QDate();
  // A part that is no number reads as 0, which makes no date.
  return QDate(QStringView(text).left(4).toInt(),
               QStringView(text).mid(5, 2).toInt(),
               QStringView(text).mid(8, 2).toInt());
}

// The values as a JSON array of [field, text] pairs, in their order.
QString ValuesText(const QList<QPair<QString, QString>> &values) {
  QJsonArray pairs;
  for (const auto &[field, text] : values)
    pairs.append(QJsonArray{field, text});
  return QString::fromUtf8(QJsonDocument(pairs).toJson(QJsonDocument::Compact));
}

QList<QPair<QString, QString>> ReadValues(const QString &text) {
  QList<QPair<QString, QString>> values;
  const QJsonArray pairs = QJsonDocument::fromJson(text.toUtf8()).array();
  for (const QJsonValue &pair : pairs) {
    const QJsonArray items = pair.toArray();
    if (items.size() == 2)
      values.append({items[0].toString(), items[1].toString()});
  }
  return values;
}

RhythmUnit ReadUnit(int code) {
  return code >= 0 && code <= int(RhythmUnit::Years) ? RhythmUnit(code)
                                                     : RhythmUnit::Months;
}

RecurringEnd ReadEnd(int code) {
  return code >= 0 && code <= int(RecurringEnd::OnDate) ? RecurringEnd(code)
                                                        : RecurringEnd::Never;
}

// The columns read, in the order ReadCurrentRow takes them.
const char kColumns[] =
    "[ID], [Title], [GroupID], [FieldValues], [RhythmUnit], [RhythmEvery], "
    "[FirstDate], [EndKind], [EndTimes], [EndDate], [AutoAdd], [Paused], "
    "[MadeUpTo]";

RecurringRecord ReadCurrentRow(CDBVisiter &session) {
  RecurringRecord record;
  record.id = session.GetInt(0);
  record.title = session.GetString(1);
  record.groupId = session.GetInt(2);
  record.values = ReadValues(session.GetString(3));
  record.rhythm.unit = ReadUnit(session.GetInt(4));
  record.rhythm.every = session.GetInt(5);
  record.first = ReadDate(session.GetString(6));
  record.end = ReadEnd(session.GetInt(7));
  record.times = session.GetInt(8);
  record.until = ReadDate(session.GetString(9));
  record.automatic = session.GetInt(10) != 0;
  record.paused = session.GetInt(11) != 0;
  record.madeUpTo = ReadDate(session.GetString(12));
  return record;
}

bool Fits(AccountFile &file, const RecurringRecord &record) {
  const QString problem = RecurringValuesProblem(record, file);
  if (problem.isEmpty())
    return true;
  ShowMessage(problem);
  return false;
}

// The columns a definition sets, as "[Name]='text', ..." of an UPDATE.
QString DefinitionAssignments(const RecurringRecord &record) {
  return QString::asprintf(
      "[Title]='%s', [GroupID]=%d, [FieldValues]='%s', [RhythmUnit]=%d, "
      "[RhythmEvery]=%d, [FirstDate]='%s', [EndKind]=%d, [EndTimes]=%d, "
      "[EndDate]='%s', [AutoAdd]=%d",
      QuotedSqlArg(record.title).constData(), record.groupId,
      QuotedSqlArg(ValuesText(record.values)).constData(),
      int(record.rhythm.unit), record.rhythm.every,
      QuotedSqlArg(DateText(record.first)).constData(), int(record.end),
      record.times, QuotedSqlArg(DateText(record.until)).constData(),
      record.automatic ? 1 : 0);
}

// The statement that writes the definition of record into row id.
QString UpdateDefinition(const RecurringRecord &record, int id) {
  return QString::asprintf("Update RecurringRecord Set %s Where [ID]=%d",
                           SqlArg(DefinitionAssignments(record)).constData(),
                           id);
}

void ReportMissing(int id) {
  ShowMessage(QStringLiteral("没有 ID 为 %1 的定期记录").arg(id));
}

// Runs sql, which changes the record with that ID, as a unit of its own.
bool ChangeOne(CDBVisiter &session, const QString &sql, int id) {
  UnitOfWork unit(&session);
  if (!session.Execute(sql))
    return false;
  if (session.ChangedRows() != 1) {
    ReportMissing(id);
    return false;
  }
  return unit.Commit();
}

} // namespace

QList<RecurringRecord> LoadRecurringRecords(AccountFile &file) {
  QList<RecurringRecord> records;
  CDBVisiter *session = file.Session();
  if (!session ||
      session->Query(QString::fromLatin1(
          "Select %1 From RecurringRecord Order By ID").arg(kColumns)) == 0)
    return records;
  do
    records.append(ReadCurrentRow(*session));
  while (session->MoveNext());
  session->CloseResult();
  return records;
}

bool FindRecurringRecord(AccountFile &file, int id, RecurringRecord &out) {
  for (const RecurringRecord &record : LoadRecurringRecords(file)) {
    if (record.id == id) {
      out = record;
      return true;
    }
  }
  ReportMissing(id);
  return false;
}

bool AddRecurringRecord(AccountFile &file, RecurringRecord &record) {
  CDBVisiter *session = WritableSession(file);
  if (!session || !Fits(file, record))
    return false;
  UnitOfWork unit(session);
  session->Query(QStringLiteral("Select Max(ID) From RecurringRecord"));
  const int id = session->GetInt(0) + 1;
  session->CloseResult();
  const QString sql = QString::asprintf(
      "Insert Into RecurringRecord ([ID], [Paused], [MadeUpTo]) Values (%d, "
      "%d, '%s')",
      id, record.paused ? 1 : 0,
      QuotedSqlArg(DateText(record.madeUpTo)).constData());
  if (!session->Execute(sql) ||
      !session->Execute(UpdateDefinition(record, id)) ||
      !unit.Commit())
    return false;
  record.id = id;
  return true;
}

bool UpdateRecurringRecord(AccountFile &file, const RecurringRecord &record) {
  CDBVisiter *session = WritableSession(file);
  if (!session || !Fits(file, record))
    return false;
  return ChangeOne(*session, UpdateDefinition(record, record.id), record.id);
}

bool SetRecurringPaused(AccountFile &file, int id, bool paused) {
  CDBVisiter *session = WritableSession(file);
  if (!session)
    return false;
  return ChangeOne(*session, QString::asprintf("Update RecurringRecord Set "
                                               "[Paused]=%d Where [ID]=%d",
                                               paused ? 1 : 0, id),
                   id);
}

bool DeleteRecurringRecord(AccountFile &file, int id) {
  CDBVisiter *session = WritableSession(file);
  if (!session)
    return false;
  return ChangeOne(*session, QString::asprintf(
                                 "Delete * From RecurringRecord Where [ID]=%d",
                                 id),
                   id);
}

bool StoreMadeUpTo(CDBVisiter &session, int id, const QDate &date) {
  return session.Execute(QString::asprintf(
             "Update RecurringRecord Set [MadeUpTo]='%s' Where [ID]=%d",
             QuotedSqlArg(DateText(date)).constData(), id)) &&
         session.ChangedRows() == 1;
}
