// Duplicates among the lines of a check; see duplicate_lines.h.
#include "exchange/duplicate_lines.h"

#include "db/db_visiter.h"
#include "document/account_file.h"
#include "exchange/bill_number_column.h"
#include "exchange/bill_values.h"
#include "exchange/import_mapping.h"
#include "exchange/same_money.h"
#include "exchange/statement_values.h"
#include "model/column_list.h"
#include "model/field_type.h"
#include "records/record_cell_text.h"

#include <QHash>
#include <QMultiHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

// The records of a group by the normalised values of the mapped fields,
// which make a line a duplicate of one of them.
class GroupRecords {
public:
  GroupRecords(const ColumnList &columns, const ImportMapping &mapping)
      : columns_(columns), mapping_(mapping) {}

  // Reads the keys of the group's records, each with the number of records
  // that have it.
  void Read(CDBVisiter &session, int groupId);
  // Whether a record still unmatched has texts' key; if so it is matched
  // (taken), so that a statement line is a duplicate only while equal
  // records are left: three equal lines against two records give two
  // duplicates and one new line.
  bool Take(const QStringList &texts);

private:
  QString KeyOf(const QStringList &texts) const;

  const ColumnList &columns_;
  const ImportMapping &mapping_;
  QHash<QString, int> keys_;
};

void GroupRecords::Read(CDBVisiter &session, int groupId) {
  if (session.Query(QStringLiteral("Select * From Users Where "
                                   "trelva_Group_ID=%1")
                        .arg(groupId)) == 0)
    return;
  do {
    QStringList texts;
    for (const ColumnDef &column : columns_.All())
      texts.append(session.GetString(column.fieldName));
    ++keys_[KeyOf(texts)];
  } while (session.MoveNext());
  session.CloseResult();
}

bool GroupRecords::Take(const QStringList &texts) {
  // An empty group has no duplicates to look for.
  if (keys_.isEmpty())
    return false;
  const auto found = keys_.find(KeyOf(texts));
  if (found == keys_.end() || found.value() == 0)
    return false;
  --found.value();
  return true;
}

QString GroupRecords::KeyOf(const QStringList &texts) const {
  QStringList parts;
  QList<int> positions;
  for (const auto &[fieldName, source] : mapping_.fields)
    positions.append(columns_.PositionOf(fieldName));
  positions.append(columns_.PositionOf(mapping_.amountField));
  std::sort(positions.begin(), positions.end());
  for (const int position : positions) {
    if (position < 0 || position >= texts.size())
      continue;
    const int type = columns_.At(position).type;
    const QString text = texts.at(position).trimmed();
    if (IsDatePickerType(type) || IsTimeOnlyType(type)) {
      const DateValue value = ParseDateTime(text);
      parts.append(value.IsValid() ? FormatDateTime(value) : text);
    } else if (type == FT_INTEGER || type == FT_FLOAT) {
      bool ok = false;
      const double number = text.toDouble(&ok);
      parts.append(ok ? NumberText(number) : text);
    } else {
      parts.append(text);
    }
  }
  return parts.join(QChar(0x1F));
}

bool SameContent(const SeenLine &a, const SeenLine &b) {
  return a.moment == b.moment && std::abs(a.amount - b.amount) < 0.005 &&
         a.counterpart == b.counterpart;
}

// Unticks line as a duplicate, for reason.
void MarkDuplicate(CheckedLine &line, const QString &reason) {
  line.state = LineState::Duplicate;
  line.ticked = false;
  line.reason = reason;
}

// Marks the lines whose payment is stored from another kind of bill.
void FindSameMoney(CDBVisiter &session, const ImportMapping &mapping,
                   const std::vector<SeenLine> &before,
                   std::vector<CheckedLine> &lines) {
  // A payment service's bill gives each line's side in its 收/支 column.
  const QString service = mapping.directionColumn.isEmpty()
                              ? QString()
                              : PaymentServiceIn(mapping.channel);
  SameMoney same(before, service, mapping.channel);
  for (CheckedLine &line : lines) {
    if (line.state != LineState::New || !line.ticked || !line.seen)
      continue;
    const SeenLine *match = same.Match(*line.seen, [&](const SeenLine &seen) {
      return SeenRecordExists(session, seen);
    });
    if (!match)
      continue;
    line.ticked = false;
    line.reason = SameMoneyReason(*match);
  }
}

} // namespace

void FindDuplicates(AccountFile &file, const ImportMapping &mapping,
                    int groupId, const std::vector<SeenLine> &before,
                    std::vector<CheckedLine> &lines) {
  CDBVisiter *session = file.Session();
  // The records of the group are compared by their values only when a
  // line has no number to be found by.
  const bool unnumbered =
      std::any_of(lines.cbegin(), lines.cend(), [](const CheckedLine &line) {
        return line.state == LineState::New && line.number.isEmpty();
      });
  GroupRecords records(file.Columns(), mapping);
  if (unnumbered && session)
    records.Read(*session, groupId);
  const QSet<QString> stored = session && HasBillNumberColumn(*session)
                                   ? StoredBillNumbers(*session)
                                   : QSet<QString>();
  // The lines stored before by number; a number seen only on lines left
  // out makes no duplicate, nor does one whose record is gone.
  QMultiHash<QString, const SeenLine *> storedByNumber;
  QSet<QString> seenNumbers;
  for (const SeenLine &seen : before) {
    if (seen.number.isEmpty())
      continue;
    seenNumbers.insert(seen.number);
    if (seen.Stored() && stored.contains(seen.number))
      storedByNumber.insert(seen.number, &seen);
  }
  QMultiHash<QString, size_t> here; // numbers of the lines to be stored
  for (size_t i = 0; i < lines.size(); ++i) {
    CheckedLine &line = lines[i];
    if (line.state != LineState::New)
      continue;
    QString reason;
    if (!line.number.isEmpty()) {
      bool sameNumber = false;
      for (const SeenLine *seen : storedByNumber.values(line.number)) {
        sameNumber = true;
        if (line.seen && SameContent(*seen, *line.seen))
          reason = QStringLiteral("交易单号已导入：%1").arg(line.number);
      }
      // Stored by an older build, which kept the number alone.
      if (reason.isEmpty() && stored.contains(line.number) &&
          !seenNumbers.contains(line.number))
        reason = QStringLiteral("交易单号已导入：%1").arg(line.number);
      for (const size_t earlier : here.values(line.number)) {
        sameNumber = true;
        if (reason.isEmpty() && line.seen && lines[earlier].seen &&
            SameContent(*lines[earlier].seen, *line.seen))
          reason = QStringLiteral("交易单号与第%1行相同")
                       .arg(lines[earlier].lineNumber);
      }
      if (reason.isEmpty()) {
        if (line.ticked)
          here.insert(line.number, i);
        if (sameNumber && line.reason.isEmpty())
          line.reason = QStringLiteral("交易单号相同但内容不同");
      }
    } else if (records.Take(line.texts)) {
      reason = QStringLiteral("与已有记录相同");
    }
    if (!reason.isEmpty())
      MarkDuplicate(line, reason);
  }
  if (session && !before.empty())
    FindSameMoney(*session, mapping, before, lines);
}
