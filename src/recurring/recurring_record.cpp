// Due dates and checks of a recurring record.
#include "recurring/recurring_record.h"

#include "base/date_value.h"
#include "document/account_file.h"
#include "formula/evaluate_row.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "model/field_type.h"
#include "records/field_assignments.h"
#include "records/row_item.h"
#include "recurring/first_message.h"

#include <QStringList>

#include <climits>

bool BeforeEnd(const RecurringRecord &record, int n, const QDate &date) {
  if (!date.isValid())
    return false;
  switch (record.end) {
  case RecurringEnd::Never:
    return true;
  case RecurringEnd::AfterTimes:
    return n < record.times;
  case RecurringEnd::OnDate:
    return date <= record.until;
  }
  return false;
}

int NextOccurrence(const RecurringRecord &record) {
  const int n = record.madeUpTo.isValid()
                    ? FirstOccurrenceAfter(record.rhythm, record.first,
                                           record.madeUpTo)
                    : 0;
  return BeforeEnd(record, n, OccurrenceDate(record.rhythm, record.first, n))
             ? n
             : -1;
}

QDate NextDueDate(const RecurringRecord &record) {
  const int n = NextOccurrence(record);
  return n < 0 ? QDate() : OccurrenceDate(record.rhythm, record.first, n);
}

QString RecurringStateText(const RecurringRecord &record) {
  if (NextOccurrence(record) < 0)
    return QStringLiteral("已结束");
  return record.paused ? QStringLiteral("已暂停") : QStringLiteral("进行中");
}

bool IsRecordDay(const QDate &date) {
  return DateValue::FromDateAndTime(date, QTime(0, 0)).IsValid();
}

QString RecurringProblem(const RecurringRecord &record, AccountFile &file) {
  if (record.title.trimmed().isEmpty())
    return QStringLiteral("定期记录的名称不能为空");
  if (record.rhythm.every < 1)
    return QStringLiteral("周期必须至少为 1（每 %1 %2）")
        .arg(record.rhythm.every)
        .arg(RhythmUnitName(record.rhythm.unit));
  if (!record.first.isValid())
    return QStringLiteral("定期记录缺少有效的开始日期");
  // The dates a record may have: what is stored must read back as itself.
  if (!IsRecordDay(record.first))
    return QStringLiteral("开始日期 %1：日期格式不正确")
        .arg(record.first.toString(Qt::ISODate));
  if (record.end == RecurringEnd::OnDate && record.until.isValid() &&
      !IsRecordDay(record.until))
    return QStringLiteral("截止日期 %1：日期格式不正确")
        .arg(record.until.toString(Qt::ISODate));
  if (record.end == RecurringEnd::AfterTimes && record.times < 1)
    return QStringLiteral("重复次数必须至少为 1");
  if (record.end == RecurringEnd::OnDate &&
      (!record.until.isValid() || record.until < record.first))
    return QStringLiteral("结束日期 %1 早于开始日期 %2")
        .arg(record.until.toString(Qt::ISODate),
             record.first.toString(Qt::ISODate));
  const GroupNode *group = FindGroupNode(file.Root(), record.groupId);
  if (!group || !group->IsGroup())
    return QStringLiteral("没有 ID 为 %1 的分组").arg(record.groupId);
  const ColumnList &columns = file.Columns();
  QList<FieldAssignment> assignments;
  const QString problem =
      FieldAssignmentsProblem(ValueAssignments(record), columns, assignments);
  if (!problem.isEmpty())
    return problem;
  for (const FieldAssignment &assignment : assignments)
    if (columns.Type(assignment.position) == FT_KEY)
      return QStringLiteral("编号由分组自动给出，不能指定：%1")
          .arg(columns.FieldName(assignment.position));
  return QString();
}

QStringList ValueAssignments(const RecurringRecord &record) {
  QStringList texts;
  for (const auto &[field, text] : record.values)
    texts.append(field + QLatin1Char('=') + text);
  return texts;
}

QString ValuesShown(const RecurringRecord &record, const ColumnList &columns) {
  QStringList texts;
  for (const auto &[field, text] : record.values) {
    const int position = columns.PositionOf(field);
    texts.append((position < 0 ? field : columns.Title(position)) +
                 QLatin1Char('=') + text);
  }
  return texts.join(QStringLiteral("，"));
}

QString RecurringValuesProblem(const RecurringRecord &record,
                               AccountFile &file) {
  const QString problem = RecurringProblem(record, file);
  if (!problem.isEmpty())
    return problem;
  // The record as its first occurrence would be made, without taking a key.
  const GroupNode *group = FindGroupNode(file.Root(), record.groupId);
  CRowItem row = CRowItem::EmptyRow(file, group->id);
  for (const auto &[field, text] : record.values)
    row.items[file.Columns().PositionOf(field)].text = text;
  const int key = group->largestKey < INT_MAX ? group->largestKey + 1 : INT_MAX;
  row.FillNewRowDefaults(key,
                         QDateTime(record.first, QTime(0, 0)));
  FirstMessage reason;
  if (EvaluateRow(row.items))
    return QString();
  return QStringLiteral("定期记录“%1”的值无法计算：%2").arg(record.title, reason.Text());
}
