// FIELD=TEXT assignments of values to columns: the record commands of
// sorvanel-cli and the values of recurring records. Every refusal is
// reported through ShowMessage.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class ColumnList;

struct FieldAssignment {
  int position = -1; // the column's position in the column list
  QString text;
};

// Parses FIELD=TEXT arguments: the argument is cut at its first "=", the
// field name matched without regard to case. An argument without "=", an
// unknown field, a field named twice and a date or time that does not read
// as one (TypedDateRefusal) are refused; false then, and out is left empty.
bool ParseFieldAssignments(const QStringList &args, const ColumnList &columns,
                           QList<FieldAssignment> &out);
// The same without showing anything: the reason of the refusal, or empty
// text when every argument is fine.
QString FieldAssignmentsProblem(const QStringList &args,
                                const ColumnList &columns,
                                QList<FieldAssignment> &out);
