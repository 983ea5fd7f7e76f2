// The table model over a grid's cells; see cell_grid_model.h.
#include "widgets/cell_grid_model.h"

#include <QBrush>
#include <QDate>

CellGridModel::CellGridModel(CellGrid &grid, QObject *parent)
    : QAbstractTableModel(parent), grid_(grid) {
  grid_.SetObserver(this);
}

CellGridModel::~CellGridModel() {
  if (grid_.Observer() == this)
    grid_.SetObserver(nullptr);
}

int CellGridModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : grid_.GetNumberRows();
}

int CellGridModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : grid_.GetNumberCols();
}

QVariant CellGridModel::CellData(int col, int row, int role) const {
  switch (role) {
  case Qt::DisplayRole:
  case Qt::AccessibleTextRole:
    return grid_.DisplayText(col, row);
  case Qt::EditRole:
    return grid_.QuickGetText(col, row);
  case Qt::BackgroundRole: {
    const ColorRef color = grid_.GetBackColor(col, row);
    return color == kNoColor ? QVariant() : QVariant(QBrush(ToQColor(color)));
  }
  case Qt::ForegroundRole: {
    const ColorRef color = grid_.GetTextColor(col, row);
    return color == kNoColor ? QVariant() : QVariant(QBrush(ToQColor(color)));
  }
  case Qt::TextAlignmentRole: {
    const CellAlignment alignment = grid_.GetAlignment(col, row);
    if (alignment)
      return alignment;
    return int(row == -1 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
  }
  case Qt::CheckStateRole:
    if (grid_.QuickGetCellType(col, row) != CT_CHECKBOX)
      return {};
    return grid_.TextView(col, row) == u"1" ? Qt::Checked : Qt::Unchecked;
  case DateRole:
    return grid_.CellDate(col, row);
  default:
    return {};
  }
}

QVariant CellGridModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid())
    return {};
  if (role == Qt::AccessibleTextRole &&
      grid_.QuickGetCellType(index.column(), index.row()) == CT_CHECKBOX)
    return grid_.TextView(index.column(), index.row()) == u"1"
               ? QStringLiteral("是")
               : QStringLiteral("否");
  return CellData(index.column(), index.row(), role);
}

QVariant CellGridModel::headerData(int section, Qt::Orientation orientation,
                                   int role) const {
  if (orientation == Qt::Horizontal)
    return CellData(section, -1, role);
  return CellData(-1, section, role);
}

Qt::ItemFlags CellGridModel::flags(const QModelIndex &index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const int col = index.column(), row = index.row();
  if (grid_.IsReadOnly(col, row))
    return flags;
  if (grid_.QuickGetCellType(col, row) == CT_CHECKBOX)
    return flags | Qt::ItemIsUserCheckable;
  return flags | Qt::ItemIsEditable;
}

bool CellGridModel::setData(const QModelIndex &index, const QVariant &value,
                            int role) {
  if (!index.isValid() || !(flags(index) & (Qt::ItemIsEditable |
                                            Qt::ItemIsUserCheckable)))
    return false;
  const int col = index.column(), row = index.row();
  switch (role) {
  case Qt::EditRole:
    grid_.OnEditFinish(col, row, value.toString(), false);
    return true;
  case DropListRole:
    grid_.OnDropListSelect(col, row, value.toString());
    return true;
  case DateRole:
    grid_.OnDatePicked(col, row, value.toDate());
    return true;
  case Qt::CheckStateRole:
    grid_.OnCheckChanged(col, row,
                         value.toInt() == int(Qt::Checked));
    return true;
  default:
    return false;
  }
}

void CellGridModel::BeginReset() {
  resetting_ = true;
  beginResetModel();
}

void CellGridModel::EndReset() {
  endResetModel();
  resetting_ = false;
  emit gridLayoutChanged();
  emit currentCellChanged();
  emit gridSelectionChanged();
}

void CellGridModel::BeginInsertRows(int first, int last) {
  beginInsertRows({}, first, last);
}

void CellGridModel::EndInsertRows() { endInsertRows(); }

void CellGridModel::BeginRemoveRows(int first, int last) {
  beginRemoveRows({}, first, last);
}

void CellGridModel::EndRemoveRows() { endRemoveRows(); }

void CellGridModel::CellsChanged(const CellRange &range) {
  if (resetting_)
    return;
  if (range.firstRow == -1 && range.lastCol >= 0)
    emit headerDataChanged(Qt::Horizontal, std::max(range.firstCol, 0),
                           range.lastCol);
  if (range.firstCol == -1 && range.lastRow >= 0)
    emit rowHeadingsChanged(std::max(range.firstRow, 0), range.lastRow);
  const int firstCol = std::max(range.firstCol, 0);
  const int firstRow = std::max(range.firstRow, 0);
  if (range.lastCol >= firstCol && range.lastRow >= firstRow)
    emit dataChanged(index(firstRow, firstCol),
                     index(range.lastRow, range.lastCol));
}

void CellGridModel::LayoutChanged() { emit gridLayoutChanged(); }

void CellGridModel::CurrentCellChanged() { emit currentCellChanged(); }

void CellGridModel::SelectionChanged() { emit gridSelectionChanged(); }
