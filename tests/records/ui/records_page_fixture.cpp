// The fixture of the records page tests.
#include "records_page_fixture.h"

void RecordsPageTest::SetUp() {
  RecordFileTest::SetUp();
  window_.file = &file_;
  page_ = std::make_unique<CSorvanGridView>(&window_);
  page_->SetActivePage(true);
  page_->Refresh();
}

void RecordsPageTest::TearDown() {
  page_.reset();
  RecordFileTest::TearDown();
}

int RecordsPageTest::HeaderRow(int groupId) {
  for (int row = 0; row < Grid().GetNumberRows(); ++row)
    if (Grid().IsHeaderRow(row) && Grid().RowGroupId(row) == groupId)
      return row;
  return -1;
}

int RecordsPageTest::NewRecordRow(int groupId) {
  for (int row = 0; row < Grid().GetNumberRows(); ++row)
    if (Grid().IsNewRecordRow(row) && Grid().RowGroupId(row) == groupId)
      return row;
  return -1;
}

std::vector<int> RecordsPageTest::RecordRows(int groupId) {
  std::vector<int> rows;
  for (int row = 0; row < Grid().GetNumberRows(); ++row)
    if (Grid().IsRecordRow(row) && Grid().RowGroupId(row) == groupId)
      rows.push_back(row);
  return rows;
}

void RecordsPageTest::Type(int col, int row, const QString &text) {
  Grid().OnEditFinish(col, row, text, false);
}

void RecordsPageTest::TypeRecords(int groupId, const QStringList &items) {
  for (const QString &item : items)
    Type(kItem, NewRecordRow(groupId), item);
}

QString RecordsPageTest::Shown(int row) {
  QStringList texts;
  for (int col = -1; col < Grid().GetNumberCols(); ++col)
    texts.append(Grid().DisplayText(col, row));
  return texts.join(QLatin1Char('|'));
}

void RecordsPageTest::SelectRows(const std::vector<int> &rows) {
  std::vector<CellRange> ranges;
  for (int row : rows)
    ranges.push_back({0, row, Grid().GetNumberCols() - 1, row});
  Grid().SetSelection(ranges, 0, rows.empty() ? 0 : rows.front());
}
