// Long random sequences of adds, edits, deletes, undos and redos over
// several groups, checked after every step against a plain model of what
// the file must hold: no record lost or duplicated, keys and groups right,
// keys never given back, and the grid told of exactly the stored changes.
//
// Triggers make chosen statements fail the way a refusing database would:
// an insert or update of the item "boom", and the delete of a record whose
// memo is "keep". The model knows the same rules.
#include "memory_grid.h"
#include "record_test_file.h"

#include "formula/evaluate_row.h"
#include "records/command_history.h"

#include <algorithm>
#include <map>
#include <random>
#include <vector>

namespace {

using RecordId = std::pair<int, int>; // group, key

// The columns compared: Item, Amount, Count, Total, Memo.
const int kCompared[] = {8, 5, 6, 7, 9};
const int kItem = 8, kAmount = 5, kCount = 6, kMemo = 9;
const int kGroups[] = {2, 3, 4, 5};

QStringList Compared(const CRowItem &row) {
  QStringList texts;
  for (const int i : kCompared)
    texts.append(row.items[i].text);
  return texts;
}

// What the file must hold, and the history as the model sees it.
class Model {
public:
  bool Insert(const RecordId &id, const QStringList &row) {
    if (row[0] == "boom" || records.count(id))
      return Fail();
    records[id] = row;
    return true;
  }
  bool Delete(const RecordId &id) {
    const auto it = records.find(id);
    if (it != records.end() && it->second[4] == "keep")
      return Fail();
    if (it != records.end())
      records.erase(it);
    return true;
  }
  bool Update(const RecordId &id, const QStringList &row) {
    const auto it = records.find(id);
    if (it == records.end())
      return true; // an UPDATE that meets no row succeeds
    if (row[0] == "boom")
      return Fail();
    it->second = row;
    return true;
  }

  struct Command {
    enum Kind { Add, Delete, Update } kind;
    RecordId id;
    QStringList row, oldRow;
    bool applyNext;
  };

  bool Run(Command &command) {
    const bool apply = command.applyNext;
    command.applyNext = !apply;
    switch (command.kind) {
    case Command::Add:
      return apply ? Insert(command.id, command.row) : Delete(command.id);
    case Command::Delete:
      return apply ? Insert(command.id, command.row) : Delete(command.id);
    case Command::Update:
      return Update(command.id, apply ? command.row : command.oldRow);
    }
    return false;
  }

  void Record(std::vector<Command> commands) {
    std::vector<Command> group;
    for (Command &command : commands)
      if (Run(command))
        group.push_back(command);
    if (group.empty())
      return;
    redo.clear();
    undo.push_back(group);
  }

  void Undo() {
    if (undo.empty())
      return;
    std::vector<Command> group = undo.back();
    undo.pop_back();
    for (auto it = group.rbegin(); it != group.rend(); ++it)
      Run(*it);
    redo.push_back(group);
  }

  void Redo() {
    if (redo.empty())
      return;
    std::vector<Command> group = redo.back();
    redo.pop_back();
    for (Command &command : group)
      Run(command);
    undo.push_back(group);
  }

  QStringList Rendered() const {
    QStringList rows;
    for (const auto &[id, row] : records)
      rows.append(QStringLiteral("%1|%2|").arg(id.first).arg(id.second) +
                  row.join('|'));
    return rows;
  }

  std::map<RecordId, QStringList> records;
  std::map<int, int> largestKey;
  std::vector<std::vector<Command>> undo, redo;
  int failures = 0;

private:
  bool Fail() {
    ++failures;
    return false;
  }
};

class RecordsModelTest : public RecordFileTest,
                         public ::testing::WithParamInterface<unsigned> {
protected:
  void SetUp() override {
    RecordFileTest::SetUp();
    // Waiting for the disk after each statement proves nothing here.
    RawSql("PRAGMA synchronous=OFF");
    RawSql("CREATE TRIGGER boom_insert BEFORE INSERT ON Users "
           "WHEN NEW.Item = 'boom' BEGIN SELECT RAISE(ABORT, 'boom'); END");
    RawSql("CREATE TRIGGER boom_update BEFORE UPDATE ON Users "
           "WHEN NEW.Item = 'boom' BEGIN SELECT RAISE(ABORT, 'boom'); END");
    RawSql("CREATE TRIGGER keep_delete BEFORE DELETE ON Users "
           "WHEN OLD.Memo = 'keep' BEGIN SELECT RAISE(ABORT, 'keep'); END");
    random_.seed(GetParam());
  }

  int Pick(int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(random_);
  }
  template <class T, size_t N> const T &PickOf(const T (&values)[N]) {
    return values[Pick(int(N))];
  }

  // Up to n distinct records of the model, in random order.
  std::vector<RecordId> PickRecords(int n) {
    std::vector<RecordId> ids;
    for (const auto &entry : model_.records)
      ids.push_back(entry.first);
    std::shuffle(ids.begin(), ids.end(), random_);
    if (int(ids.size()) > n)
      ids.resize(n);
    return ids;
  }

  void Add() {
    static const char *const items[] = {"a", "b", "O'Brien", "boom", "", "x y"};
    static const char *const amounts[] = {"1", "2.5", "0.25", "", "12"};
    static const char *const memos[] = {"", "keep", "m"};
    const int group = PickOf(kGroups);
    QList<CRowItem> rows;
    std::vector<Model::Command> commands;
    for (int n = 1 + Pick(3); n > 0; --n) {
      CRowItem row = NewRow(group,
                            {{"Item", items[Pick(6)]},
                             {"Amount", amounts[Pick(5)]},
                             {"Memo", memos[Pick(3)]}},
                            &grid_);
      EXPECT_EQ(row.KeyValue(), ++model_.largestKey[group]);
      rows.append(row);
      commands.push_back({Model::Command::Add, {group, row.KeyValue()},
                          Compared(row), {}, true});
    }
    file_.History().AddRows(rows);
    model_.Record(commands);
  }

  void Edit() {
    static const char *const items[] = {"e", "boom", "it's", ""};
    static const char *const amounts[] = {"3", "0.5", "7.75"};
    static const char *const counts[] = {"1", "2", "10"};
    QList<CRowItem> rows;
    std::vector<Model::Command> commands;
    for (const RecordId &id : PickRecords(1 + Pick(2))) {
      CRowItem row = StoredRow(id.second, id.first);
      grid_.AttachFile(&file_);
      row.gridNumber = grid_.GridNumber();
      const QStringList old = Compared(row);
      const int column = PickOf({kItem, kAmount, kCount});
      row.items[column].text = column == kItem     ? items[Pick(4)]
                               : column == kAmount ? amounts[Pick(3)]
                                                   : counts[Pick(3)];
      RecalculateDependents(row.items, column);
      rows.append(row);
      commands.push_back(
          {Model::Command::Update, id, Compared(row), old, true});
    }
    file_.History().UpdateRows(rows);
    model_.Record(commands);
  }

  void Delete() {
    QList<CRowItem> rows;
    std::vector<Model::Command> commands;
    for (const RecordId &id : PickRecords(1 + Pick(3))) {
      CRowItem row = StoredRow(id.second, id.first);
      grid_.AttachFile(&file_);
      row.gridNumber = grid_.GridNumber();
      rows.append(row);
      commands.push_back(
          {Model::Command::Delete, id, Compared(row), {}, false});
    }
    file_.History().DeleteRows(rows);
    model_.Record(commands);
  }

  void Step() {
    switch (Pick(10)) {
    case 0: case 1: case 2: Add(); break;
    case 3: case 4: Edit(); break;
    case 5: Delete(); break;
    case 6: case 7:
      EXPECT_EQ(file_.History().Undo(), !model_.undo.empty());
      model_.Undo();
      break;
    default:
      EXPECT_EQ(file_.History().Redo(), !model_.redo.empty());
      model_.Redo();
      break;
    }
  }

  std::mt19937 random_;
  Model model_;
  MemoryGrid grid_;
};

TEST_P(RecordsModelTest, FileFollowsTheModelThroughEveryStep) {
  for (int step = 0; step < 300; ++step) {
    Step();
    const QStringList expected = model_.Rendered();
    ASSERT_EQ(Records(), expected) << "step " << step;
    ASSERT_EQ(file_.History().UndoDepth(), int(model_.undo.size()));
    ASSERT_EQ(file_.History().RedoDepth(), int(model_.redo.size()));
    ASSERT_EQ(prompt_.Texts().count("失败！"), model_.failures);
    ASSERT_TRUE(grid_.faults.isEmpty()) << qPrintable(grid_.faults.join('\n'));
    ASSERT_EQ(int(grid_.shown.size()), int(model_.records.size()));
    for (const auto &[id, row] : model_.records)
      ASSERT_EQ(Compared(StoredRow(id.second, id.first)), row);
    for (const auto &[id, row] : model_.records)
      ASSERT_TRUE(grid_.shown.contains({id.first, id.second}));
  }
  for (const int group : kGroups)
    EXPECT_EQ(Group(group).largestKey, model_.largestKey[group]);
  // The sequence did meet refused statements and kept records.
  EXPECT_GT(model_.failures, 0);
  EXPECT_FALSE(model_.records.empty());
}

INSTANTIATE_TEST_SUITE_P(Seeds, RecordsModelTest,
                         ::testing::Values(1u, 2u, 3u, 4u));

} // namespace
