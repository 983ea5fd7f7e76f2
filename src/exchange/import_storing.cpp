// Storing the lines of a check; see import_storing.h.
#include "exchange/import_storing.h"

#include "base/held_messages.h"
#include "db/db_visiter.h"
#include "db/describe_error.h"
#include "db/unit_of_work.h"
#include "document/account_file.h"
#include "exchange/bill_number_column.h"
#include "exchange/import_mapping.h"
#include "exchange/import_records.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "model/column_store.h"
#include "model/field_type.h"
#include "records/command_history.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kBatch = 500;

// What an import changes in memory besides the file: the columns (options
// added to the method column) and the group's largest key. They go back
// as they were unless the import was committed.
class MemoryOfImport {
public:
  MemoryOfImport(AccountFile &file, GroupNode &group)
      : file_(file), group_(group), columns_(file.Columns()),
        largestKey_(group.largestKey) {}
  ~MemoryOfImport() {
    if (kept_)
      return;
    file_.Columns() = columns_;
    group_.largestKey = largestKey_;
  }
  MemoryOfImport(const MemoryOfImport &) = delete;
  MemoryOfImport &operator=(const MemoryOfImport &) = delete;

  const ColumnList &ColumnsBefore() const { return columns_; }
  // The import was committed: what it changed stays.
  void Keep() { kept_ = true; }

private:
  AccountFile &file_;
  GroupNode &group_;
  const ColumnList columns_;
  const int largestKey_;
  bool kept_ = false;
};

bool Stored(const CheckedLine &line, const QSet<int> &ticked) {
  return line.state != LineState::Bad && ticked.contains(line.lineNumber);
}

// Whether a line to be stored has a bill's number.
bool StoresNumbers(const ImportCheck &check, const QSet<int> &ticked) {
  return std::any_of(check.lines.cbegin(), check.lines.cend(),
                     [&](const CheckedLine &line) {
                       return !line.number.isEmpty() && Stored(line, ticked);
                     });
}

// Adds the options of the method column that stored lines name and the
// column does not offer; inside the import's unit of work.
bool AddMethodOptions(AccountFile &file, const ImportMapping &mapping,
                      const ImportCheck &check, const QSet<int> &ticked) {
  const int position = file.Columns().PositionOf(mapping.methodField);
  if (position < 0 || file.Columns().At(position).type != FT_OPTION)
    return true;
  ColumnDef column = file.Columns().At(position);
  QStringList options = column.Choices();
  const qsizetype before = options.size();
  for (const CheckedLine &line : check.lines) {
    if (!Stored(line, ticked) || position >= line.texts.size())
      continue;
    const QString &name = line.texts.at(position);
    if (!name.isEmpty() && !options.contains(name))
      options.append(name);
  }
  if (options.size() == before)
    return true;
  column.options = options.join(QLatin1Char('|'));
  if (!UpdateColumn(*file.Session(), column))
    return false;
  file.Columns().Replace(position, column);
  return true;
}

// How storing the records ended.
enum class Outcome { Stored, Cancelled, Failed, Lost };

// Adds the records of the lines to store, and the lines seen, as one
// command group; count gets the records added.
Outcome AddRecords(AccountFile &file, const ImportMapping &mapping,
                   int groupId, const ImportCheck &check,
                   const QSet<int> &ticked, const ExchangeProgress &progress,
                   int *key, int *count, QString *error) {
  const RecordStart start = StartOfRecords(file, groupId);
  CommandHistory &history = file.History();
  history.BeginGroup();
  std::vector<SeenLine> seenLines;
  QList<CRowItem> batch;
  auto flush = [&] {
    if (!batch.isEmpty())
      *count += history.AddRows(std::move(batch));
    batch = {};
  };
  int done = 0;
  for (const CheckedLine &line : check.lines) {
    if (Stored(line, ticked)) {
      bool finite = true;
      CRowItem record =
          MakeRecord(file, mapping, line.texts, ++*key, start, &finite);
      // The line whose formulas gave no number: the import stops there.
      if (!finite) {
        history.DiscardGroup();
        *error = QStringLiteral("第%1行：计算结果超出数值范围或无意义")
                     .arg(line.lineNumber);
        return Outcome::Failed;
      }
      if (!line.number.isEmpty())
        SetBillNumber(record, line.number);
      if (line.seen) {
        seenLines.push_back(*line.seen);
        seenLines.back().groupId = groupId;
        seenLines.back().recordId = *key;
      }
      batch.append(std::move(record));
      if (batch.size() >= kBatch)
        flush();
    }
    // A payment left out as refunded in full is remembered, so that its
    // refund in a later bill is left out too.
    else if (line.seen && line.state == LineState::Skipped &&
             line.reason == QStringLiteral("已全额退款")) {
      seenLines.push_back(*line.seen);
      seenLines.back().outcome = line.reason;
    }
    if (progress && !progress(++done)) {
      history.DiscardGroup();
      return Outcome::Cancelled;
    }
  }
  flush();
  if (!seenLines.empty() && !AddSeenLines(*file.Session(), seenLines)) {
    history.DiscardGroup();
    *error = QStringLiteral("写入账簿文件失败！");
    return Outcome::Failed;
  }
  // All lines or none: a group that could not be committed has been
  // undone, and rows shown meanwhile go when the pages reload.
  if (!history.EndGroup()) {
    *error = QStringLiteral("写入账簿文件失败！");
    return Outcome::Failed;
  }
  return Outcome::Stored;
}

// Stores the lines in one unit of work; what the import changed in memory
// goes back unless the unit is committed.
Outcome StoreInOneUnit(AccountFile &file, const ImportMapping &mapping,
                       int groupId, const ImportCheck &check,
                       const QSet<int> &ticked,
                       const ExchangeProgress &progress, int *count,
                       QString *error) {
  CDBVisiter &session = *file.Session();
  GroupNode &group = *FindGroupNode(file.Root(), groupId);
  MemoryOfImport memory(file, group);
  UnitOfWork work(&session);
  if (StoresNumbers(check, ticked) && !HasBillNumberColumn(session) &&
      !AddBillNumberColumn(session)) {
    *error = QStringLiteral("无法在账簿文件中添加交易单号列！");
    return Outcome::Failed;
  }
  if (!AddMethodOptions(file, mapping, check, ticked)) {
    *error = QStringLiteral("写入账簿文件失败！");
    return Outcome::Failed;
  }
  int key = group.largestKey;
  const Outcome added = AddRecords(file, mapping, groupId, check, ticked,
                                   progress, &key, count, error);
  if (added != Outcome::Stored)
    return added;
  if (!work.Commit()) {
    *error = QStringLiteral("写入账簿文件失败！");
    return Outcome::Lost;
  }
  memory.Keep();
  group.largestKey = key;
  const int method = file.Columns().PositionOf(mapping.methodField);
  const ColumnList &before = memory.ColumnsBefore();
  if (file.Columns().Options(method) !=
      before.Options(before.PositionOf(mapping.methodField)))
    file.Notify(HINT_ALL);
  else if (*count > 0)
    file.Notify(HINT_RECORDS);
  return Outcome::Stored;
}

int StoreLines(AccountFile &file, const ImportMapping &mapping, int groupId,
               const ImportCheck &check, const QSet<int> &ticked,
               const ExchangeProgress &progress, bool *cancelled,
               QString *error) {
  *cancelled = false;
  if (!file.Session()) {
    *error = QStringLiteral("没有打开的账簿文件！");
    return -1;
  }
  if (!ValidImportGroup(file, groupId, error))
    return -1;
  int count = 0;
  switch (StoreInOneUnit(file, mapping, groupId, check, ticked, progress,
                         &count, error)) {
  case Outcome::Stored:
    return count;
  case Outcome::Cancelled:
    *cancelled = true;
    return 0;
  case Outcome::Lost:
    // The group's rows were shown before the commit failed: the pages
    // reload from the file.
    file.Notify(HINT_RECORDS | HINT_PIE_SERIES | HINT_BAR_SERIES);
    return -1;
  case Outcome::Failed:
    break;
  }
  return -1;
}

} // namespace

int StoreCheckedLines(AccountFile &file, const ImportMapping &mapping,
                      int groupId, const ImportCheck &check,
                      const QSet<int> &ticked,
                      const ExchangeProgress &progress, bool *cancelled,
                      QString *error) {
  // What the parts of one import say is held, so that the user is told once.
  HeldMessages held;
  const int stored = StoreLines(file, mapping, groupId, check, ticked,
                                progress, cancelled, error);
  if (stored < 0) {
    const QString failure =
        FailureOfWork(held.Texts(), QStringLiteral("导入未进行"));
    if (!failure.isEmpty())
      *error = failure;
    return stored;
  }
  held.Release();
  return stored;
}
