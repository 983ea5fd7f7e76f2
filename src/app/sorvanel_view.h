// The page host of a document window: a tab strip with the four pages
// "表格", "饼图分析", "柱图分析" and "预算". Selecting a tab makes that page the
// active one (reloading it when a change arrived while it was hidden) and
// tells the window which folder of the side bar belongs to it.
#pragma once

#include "window/sorvan_base_view.h"

#include <QTabWidget>
#include <QWidget>

#include <array>

class CSorvanViewTabCtrl : public QTabWidget {
  Q_OBJECT

public:
  explicit CSorvanViewTabCtrl(QWidget *parent = nullptr);
};

class CSorvanelView : public QWidget {
  Q_OBJECT

public:
  explicit CSorvanelView(QWidget *parent = nullptr);

  // Adds a page under its caption; pages are added in the order records,
  // pie, bar, budget.
  void AddPage(QWidget *page, int kind, const QString &caption,
               const QIcon &icon);
  CSorvanViewTabCtrl *Tabs() const { return tabs_; }
  QWidget *ActivePage() const;
  int ActivePageKind() const;
  QWidget *PageOfKind(int kind) const;
  void SelectPageKind(int kind);
  // Selects the page by pages after (before, when negative) the current
  // one, round the end.
  void StepPage(int by);

signals:
  // A tab was selected (also the first one, when pages are added).
  void PageSelected(QWidget *page, int kind);

private:
  void OnCurrentChanged(int index);

  CSorvanViewTabCtrl *tabs_;
  QList<int> kinds_;
};
