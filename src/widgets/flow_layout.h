// A layout that places its widgets in rows, left to right, and starts a new
// row when the width runs out: the toolbars of the narrow side panes wrap
// instead of hiding their last controls.
#pragma once

#include <QLayout>
#include <QList>

class FlowLayout : public QLayout {
public:
  explicit FlowLayout(QWidget *parent = nullptr, int spacing = 2);
  ~FlowLayout() override;

  void addItem(QLayoutItem *item) override;
  int count() const override { return int(items_.size()); }
  QLayoutItem *itemAt(int index) const override;
  QLayoutItem *takeAt(int index) override;

  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect &rect) override;

private:
  // Lays the items out in rect (only measures when apply is false); the
  // height used.
  int Arrange(const QRect &rect, bool apply) const;

  QList<QLayoutItem *> items_;
};
