// The Qt model over a CellGrid: what a QTableView asks of a grid (texts,
// colours, alignment, check state, editability, headings) answered from the
// store, and the store's changes turned into the model's signals. No data of
// its own: a load reaches the view as one reset.
#pragma once

#include "widgets/cell_grid.h"

#include <QAbstractTableModel>

class CellGridModel : public QAbstractTableModel, private CellStoreObserver {
  Q_OBJECT

public:
  // Roles through which editors report to the grid (setData).
  enum Role {
    DropListRole = Qt::UserRole + 1, // the picked entry of a drop-down list
    DateRole,                        // the picked date of a date cell
  };

  // Observes grid from now on (replacing any other observer); grid must
  // outlive the model.
  explicit CellGridModel(CellGrid &grid, QObject *parent = nullptr);
  ~CellGridModel() override;

  CellGrid &Grid() const { return grid_; }

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role) const override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;
  // Edit role: an edited text (OnEditFinish); DropListRole, DateRole and
  // the check state go to the grid's matching hooks.
  bool setData(const QModelIndex &index, const QVariant &value,
               int role) override;

  // The data of any cell, headings included (row or column -1).
  QVariant CellData(int col, int row, int role) const;

signals:
  // Column widths, heading sizes, the row height or the joins changed, or
  // the grid was reset.
  void gridLayoutChanged();
  void currentCellChanged();
  void gridSelectionChanged();
  // Texts of the side heading changed in rows first to last. This stands
  // in for headerDataChanged(Qt::Vertical): QHeaderView answers that by
  // working out the position of every row again, which on a page of many
  // rows costs more than the change itself.
  void rowHeadingsChanged(int first, int last);

private:
  void BeginReset() override;
  void EndReset() override;
  void BeginInsertRows(int first, int last) override;
  void EndInsertRows() override;
  void BeginRemoveRows(int first, int last) override;
  void EndRemoveRows() override;
  void CellsChanged(const CellRange &range) override;
  void LayoutChanged() override;
  void CurrentCellChanged() override;
  void SelectionChanged() override;

  CellGrid &grid_;
  bool resetting_ = false;
};
