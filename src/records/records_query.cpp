// The records query of a group and reading its rows as texts.
#include "records/records_query.h"

#include "db/db_visiter.h"
#include "groups/group_where.h"
#include "model/column_list.h"

#include <algorithm>

QString RecordsQueryText(const QString &where, const QString &keyField) {
  const QString orderBy = QStringLiteral("Order By [%1]").arg(keyField);
  if (where.trimmed().isEmpty())
    return QStringLiteral("Select * From Users %1").arg(orderBy);
  return QStringLiteral("Select * From Users Where %1 %2").arg(where, orderBy);
}

QString GroupRecordsQueryText(int groupId, const QString &filterWhere,
                              const QString &keyField) {
  return RecordsQueryText(GroupFilterWhere(groupId, filterWhere), keyField);
}

RecordsQuery::RecordsQuery(CDBVisiter &session, const ColumnList &columns)
    : session_(session), columns_(columns),
      ends_(size_t(columns.Size()), 0) {}

int RecordsQuery::Run(const QString &sql) {
  const int rows = session_.Query(sql);
  failed_ = rows == 0 && !session_.IsResultOpen();
  current_ = rows > 0;
  if (!current_)
    return rows;
  QStringList names;
  session_.GetFieldNames(names);
  positions_.assign(size_t(columns_.Size()), -1);
  for (int i = 0; i < columns_.Size(); ++i) {
    const QString &field = columns_.FieldName(i);
    for (int p = 0; p < names.size(); ++p) {
      if (names[p].compare(field, Qt::CaseInsensitive) == 0) {
        positions_[size_t(i)] = p;
        break;
      }
    }
  }
  return rows;
}

bool RecordsQuery::ReadRow() {
  chars_.resize(0);
  if (!current_) {
    std::fill(ends_.begin(), ends_.end(), 0);
    return false;
  }
  for (size_t i = 0; i < positions_.size(); ++i) {
    if (positions_[i] >= 0)
      session_.AppendString(positions_[i], chars_);
    ends_[i] = quint32(chars_.size());
  }
  current_ = session_.MoveNext();
  return true;
}

QStringView RecordsQuery::Text(int column) const {
  if (column < 0 || size_t(column) >= ends_.size())
    return {};
  const quint32 begin = column > 0 ? ends_[size_t(column - 1)] : 0;
  return QStringView(chars_).mid(begin, ends_[size_t(column)] - begin);
}
