// A header of the cell grid, whose width (side heading) or height (top
// heading) the grid sets. Its size hint is that size: Qt's own measures the
// texts of up to 200 sections to find it, and the view asks for it again
// after every row inserted, which on a page of many rows costs more than
// storing the record. Its sections are never highlighted, so a move of the
// current cell has nothing to repaint here (Qt's header works out the
// position of every row for it after each inserted row).
#pragma once

#include <QHeaderView>

class FixedSizeHeader : public QHeaderView {
public:
  FixedSizeHeader(Qt::Orientation orientation, QWidget *parent)
      : QHeaderView(orientation, parent) {}

  QSize sizeHint() const override {
    return QSize(minimumWidth(), minimumHeight());
  }

protected:
  void currentChanged(const QModelIndex &, const QModelIndex &) override {}
};
