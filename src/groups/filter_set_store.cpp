// Statements on FilterMemory and the blob of each set's stream.
#include "groups/filter_set_store.h"

#include "db/db_visiter.h"
#include "groups/filter_set_stream.h"
#include "model/sql_text.h"

#include <QBuffer>

namespace {

const char *const kTable = "FilterMemory";

// Selects the set's row and stores the stream in its flValue.
bool WriteStream(CDBVisiter &session, int id, const QByteArray &stream) {
  bool stored = false;
  if (session.Query(QString::asprintf("Select * From %s Where ID=%d", kTable,
                                      id)) != 0) {
    QBuffer buffer;
    buffer.setData(stream);
    buffer.open(QIODevice::ReadOnly);
    stored = session.WriteBlob(buffer, QStringLiteral("flValue")) &&
             session.Update();
  }
  session.CloseResult();
  return stored;
}

// Reads the set of the current row; false when its stream can't be read.
bool ReadCurrentSet(CDBVisiter &session, FilterSet &set) {
  set.id = session.GetInt(QStringLiteral("ID"));
  set.classId = session.GetInt(QStringLiteral("ClassID"));
  set.title = session.GetString(QStringLiteral("Title"));
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (session.ReadBlob(QStringLiteral("flValue"), buffer) <= 0)
    return true;
  return ReadFilterSetStream(buffer.data(), set);
}

// A set titled "设置1" of classId filled from the old rows of oldGroup.
FilterSet ConvertOldGroup(CDBVisiter &session, int classId, int oldGroup) {
  FilterSet set;
  set.classId = classId;
  set.title = QStringLiteral("设置1");

  if (session.Query(QString::asprintf(
          "Select * From ResultShowItem Where GroupID=%d", oldGroup)) > 0) {
    do {
      FilterCondition condition;
      condition.kind = CK_SUM;
      condition.texts.append(session.GetString(QStringLiteral("FieldName")));
      set.Add(condition);
    } while (session.MoveNext());
  }

  if (session.Query(QString::asprintf(
          "Select * From ResultShowLimit Where GroupID=%d", oldGroup)) > 0) {
    do {
      FilterCondition condition;
      condition.kind = CK_COLUMN;
      condition.fieldName = session.GetString(QStringLiteral("KeyName"));
      condition.texts = session.GetString(QStringLiteral("SelInfo"))
                            .split(QLatin1Char('|'), Qt::SkipEmptyParts);
      set.Add(condition);
    } while (session.MoveNext());
  }
  return set;
}

} // namespace

bool FilterSetExists(CDBVisiter &session, const FilterSet &set) {
  return session.Query(QString::asprintf("Select ID From %s Where ID=%d",
                                         kTable, set.id)) != 0;
}

bool InsertFilterSet(CDBVisiter &session, FilterSet &set) {
  const QByteArray stream = WriteFilterSetStream(set);
  const QString insert = QString::asprintf(
      "Insert Into %s ([ClassID], [Title])  Values (%d,'%s')", kTable,
      set.classId, QuotedSqlArg(set.title).constData());
  if (!session.Execute(insert))
    return false;
  if (session.Query(QStringLiteral("SELECT @@IDENTITY as ID_NEW")) == 0)
    return false;
  set.id = session.GetInt(QStringLiteral("ID_NEW"));
  return WriteStream(session, set.id, stream);
}

bool UpdateFilterSet(CDBVisiter &session, const FilterSet &set) {
  const QByteArray stream = WriteFilterSetStream(set);
  const QString update = QString::asprintf(
      "Update %s Set [ClassID]=%d, [Title]='%s' Where ID=%d", kTable,
      set.classId, QuotedSqlArg(set.title).constData(), set.id);
  if (!session.Execute(update))
    return false;
  return WriteStream(session, set.id, stream);
}

bool SaveFilterSet(CDBVisiter &session, FilterSet &set) {
  if (FilterSetExists(session, set))
    return UpdateFilterSet(session, set);
  return InsertFilterSet(session, set);
}

bool DeleteFilterSet(CDBVisiter &session, int id) {
  return session.Execute(
      QString::asprintf("Delete * From %s Where ID=%d", kTable, id));
}

QList<FilterSet> LoadFilterSets(CDBVisiter &session, int classId) {
  QList<FilterSet> sets;
  if (session.Query(QString::asprintf("Select * From %s Where [ClassID]=%d",
                                      kTable, classId)) == 0)
    return sets;
  do {
    FilterSet set;
    if (ReadCurrentSet(session, set))
      sets.append(set);
  } while (session.MoveNext());
  return sets;
}

bool ConvertOldResultTables(CDBVisiter &session) {
  FilterSet sets[] = {
      ConvertOldGroup(session, FSC_BAR_SETUP, 0),
      ConvertOldGroup(session, FSC_PIE_SETUP, 1),
      FilterSet(),
  };
  sets[2].classId = FSC_FILTER_PANE;
  sets[2].title = QStringLiteral("设置1");
  bool saved = true;
  for (FilterSet &set : sets)
    saved = SaveFilterSet(session, set) && saved;
  return saved;
}
