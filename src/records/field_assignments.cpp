// FIELD=TEXT assignments of values to columns.
#include "records/field_assignments.h"

#include "base/prompt.h"
#include "model/column_list.h"
#include "model/value_literal.h"

QString FieldAssignmentsProblem(const QStringList &args,
                                const ColumnList &columns,
                                QList<FieldAssignment> &out) {
  out.clear();
  QList<FieldAssignment> parsed;
  for (const QString &arg : args) {
    const qsizetype equals = arg.indexOf(QLatin1Char('='));
    if (equals < 0)
      return QStringLiteral("参数应为“字段=内容”的形式：%1").arg(arg);
    const QString field = arg.left(equals);
    const int position = columns.PositionOf(field);
    if (field.isEmpty() || position < 0)
      return QStringLiteral("没有名为“%1”的字段").arg(field);
    for (const FieldAssignment &earlier : parsed)
      if (earlier.position == position)
        return QStringLiteral("字段“%1”给出了两次").arg(field);
    const QString text = arg.mid(equals + 1);
    const QString refusal = TypedDateRefusal(text, columns.At(position).type);
    if (!refusal.isEmpty())
      return refusal;
    parsed.append(FieldAssignment{position, text});
  }
  out = parsed;
  return QString();
}

bool ParseFieldAssignments(const QStringList &args, const ColumnList &columns,
                           QList<FieldAssignment> &out) {
  const QString problem = FieldAssignmentsProblem(args, columns, out);
  if (problem.isEmpty())
    return true;
  ShowMessage(problem);
  return false;
}
