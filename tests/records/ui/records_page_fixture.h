// The fixture of the records page tests: a copy of the household template
// (columns ID, Data, Moment, Category, Payment, Amount, Count, Total =
// Amount*Count, Item, Memo; groups 2 to 5) shown by a real records page
// whose window is a small fake that names the active groups and the filter.
#pragma once

#include "../record_test_file.h"

#include "window/document_window.h"
#include "records/ui/sorvan_grid_view.h"

#include <memory>

class FakeWindow : public DocumentWindow {
public:
  AccountFile *File() const override { return file; }
  QList<int> ActiveGroupIds() const override { return groups; }
  bool FilterWhere(QString &where) const override {
    where = filter;
    return filterBuilt;
  }

  AccountFile *file = nullptr;
  QList<int> groups{2, 3};
  QString filter;
  bool filterBuilt = true;
};

class RecordsPageTest : public RecordFileTest {
protected:
  void SetUp() override;
  void TearDown() override;

  CSorvansGridCtrl &Grid() { return page_->Grid(); }
  // Grid columns of the household template (list position - 1).
  static constexpr int kData = 0, kMoment = 1, kCategory = 2, kPayment = 3,
                       kAmount = 4, kCount = 5, kTotal = 6, kItem = 7,
                       kMemo = 8;
  // The grid rows of a group's header and new-record row; -1 when not shown.
  int HeaderRow(int groupId);
  int NewRecordRow(int groupId);
  // The rows of a group's records, top down.
  std::vector<int> RecordRows(int groupId);
  // What the user does in a cell: finishes an edit with text.
  void Type(int col, int row, const QString &text);
  // Adds records to a group by typing their items into its new-record row.
  void TypeRecords(int groupId, const QStringList &items);
  // The shown texts of a row: heading first, joined by '|'.
  QString Shown(int row);
  // Selects the cells of the rows (all columns).
  void SelectRows(const std::vector<int> &rows);

  FakeWindow window_;
  std::unique_ptr<CSorvanGridView> page_;
};
