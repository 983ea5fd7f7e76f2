// The import dialog's table of lines; see import_preview_model.h.
#include "exchange/ui/import_preview_model.h"

#include "records/record_cell_text.h"

#include "base/prompt.h"
#include "model/column_list.h"
#include "model/field_type.h"
#include "records/row_item.h"

#include <QColor>

namespace {

const QColor kRuleColour(0, 90, 200);
const QColor kEditedColour(170, 80, 0);
const QColor kBadColour(200, 0, 0);

} // namespace

QString LineStateName(LineState state) {
  switch (state) {
  case LineState::New:
    return QStringLiteral("新");
  case LineState::Duplicate:
    return QStringLiteral("重复");
  case LineState::Skipped:
    return QStringLiteral("跳过");
  case LineState::Bad:
    return QStringLiteral("错误");
  }
  return QString();
}

ImportPreviewModel::ImportPreviewModel(StatementImport &import,
                                       const ColumnList &columns,
                                       QObject *parent)
    : QAbstractTableModel(parent), import_(import), columns_(columns) {}

void ImportPreviewModel::SetCheck(ImportCheck check) {
  beginResetModel();
  preview_.SetCheck(std::move(check));
  // The key is given when a record is stored; disabled columns are not
  // shown in the records either.
  positions_.clear();
  for (int i = 0; i < columns_.Size(); ++i)
    if (columns_.At(i).type != FT_KEY && columns_.At(i).enabled)
      positions_.append(i);
  now_ = QDateTime::currentDateTime();
  cachedRow_ = -1;
  endResetModel();
}

int ImportPreviewModel::PositionAt(int column) const {
  const int index = column - FirstRecordColumn;
  return index >= 0 && index < positions_.size() ? positions_[index] : -1;
}

int ImportPreviewModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : preview_.RowCount();
}

int ImportPreviewModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : FirstRecordColumn + int(positions_.size());
}

const QStringList &ImportPreviewModel::RecordTexts(int row) const {
  if (row == cachedRow_)
    return cachedTexts_;
  cachedRow_ = row;
  cachedTexts_.clear();
  const CheckedLine &line = preview_.Line(row);
  if (line.state == LineState::Bad)
    return cachedTexts_;
  const CRowItem record = import_.MakeRecord(line.texts, 0, now_);
  for (const auto &item : record.items)
    cachedTexts_.append(item.text);
  return cachedTexts_;
}

QVariant ImportPreviewModel::CellColour(int row, int position) const {
  if (preview_.Edited(row, position))
    return kEditedColour;
  if (preview_.SetByRule(row, position))
    return kRuleColour;
  return QVariant();
}

QVariant ImportPreviewModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid())
    return QVariant();
  const int row = index.row();
  const CheckedLine &line = preview_.Line(row);
  const int position = PositionAt(index.column());
  switch (role) {
  case Qt::CheckStateRole:
    if (index.column() == Tick)
      return line.ticked ? Qt::Checked : Qt::Unchecked;
    return QVariant();
  case Qt::DisplayRole:
    switch (index.column()) {
    case Tick:
      return QVariant();
    case LineNumber:
      return line.lineNumber;
    case State:
      return LineStateName(line.state);
    case Reason:
      return line.reason;
    default:
      // Dates and times as the grid shows them.
      return ShownCellText(columns_.Type(position), RecordTexts(row).value(position));
    }
  case Qt::EditRole:
    return RecordTexts(row).value(position);
  case Qt::ForegroundRole:
    if (line.state == LineState::Bad)
      return index.column() == Reason ? QVariant(kBadColour) : QVariant();
    return position >= 0 ? CellColour(row, position) : QVariant();
  case Qt::ToolTipRole:
    if (index.column() == Reason && !line.reason.isEmpty())
      return line.reason;
    if (position >= 0 && preview_.Edited(row, position))
      return QStringLiteral("已修改");
    if (position >= 0 && preview_.SetByRule(row, position))
      return QStringLiteral("由导入规则设置");
    return QVariant();
  default:
    return QVariant();
  }
}

QVariant ImportPreviewModel::headerData(int section,
                                        Qt::Orientation orientation,
                                        int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return QAbstractTableModel::headerData(section, orientation, role);
  switch (section) {
  case Tick:
    return QStringLiteral("导入");
  case LineNumber:
    return QStringLiteral("行");
  case State:
    return QStringLiteral("状态");
  case Reason:
    return QStringLiteral("原因");
  default: {
    const int position = PositionAt(section);
    return position >= 0 ? columns_.Title(position) : QVariant();
  }
  }
}

Qt::ItemFlags ImportPreviewModel::flags(const QModelIndex &index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (preview_.Line(index.row()).state == LineState::Bad)
    return flags;
  if (index.column() == Tick)
    return flags | Qt::ItemIsUserCheckable;
  const int position = PositionAt(index.column());
  if (position >= 0 && !columns_.At(position).readOnly)
    flags |= Qt::ItemIsEditable;
  return flags;
}

bool ImportPreviewModel::SetTicked(int row, bool ticked) {
  if (!preview_.SetTicked(row, ticked))
    return false;
  emit dataChanged(index(row, Tick), index(row, Tick), {Qt::CheckStateRole});
  return true;
}

bool ImportPreviewModel::setData(const QModelIndex &index,
                                 const QVariant &value, int role) {
  if (!index.isValid())
    return false;
  const int row = index.row();
  if (role == Qt::CheckStateRole && index.column() == Tick)
    return SetTicked(row, value.toInt() == Qt::Checked);
  const int position = PositionAt(index.column());
  if (role != Qt::EditRole || position < 0)
    return false;
  // An editor closed on the text it showed changes nothing.
  if (value.toString() == RecordTexts(row).value(position))
    return true;
  QString refusal;
  if (!preview_.Edit(columns_, row, position, value.toString(), &refusal)) {
    if (!refusal.isEmpty())
      ShowMessage(refusal);
    return false;
  }
  cachedRow_ = -1;
  // Formulas and defaults may change other cells of the row.
  emit dataChanged(this->index(row, FirstRecordColumn),
                   this->index(row, columnCount() - 1));
  return true;
}
