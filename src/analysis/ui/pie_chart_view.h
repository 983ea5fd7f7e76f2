// CSorvanPieChartView: the proportion pie chart page ("饼图分析") of an
// account file's window. It recomputes its slices when a change
// notification carries the pie chart bit (0x02) while it is showing, marks
// itself for reload otherwise, and reads what to sum, over which records
// and split by which options from its window and the pie chart set-up pane.
#pragma once

#include "analysis/pie_series.h"
#include "records/ui/sorvan_base_view.h"

class CPieChartWnd;

class CSorvanPieChartView : public CSorvanBaseView {
  Q_OBJECT

public:
  explicit CSorvanPieChartView(DocumentWindow *window, QWidget *parent = nullptr);
  ~CSorvanPieChartView() override;

  int GetPageKind() const override { return PieChartPage; }
  // Clears the pending mark and recomputes the slices.
  void Refresh() override;

  // The chart widget; null when it could not be made.
  CPieChartWnd *Chart() const { return chart_; }
  // The series of the last recomputation, before the widget refused any
  // slice.
  const PieSeries &Series() const { return series_; }

public slots:
  // The refresh command ("刷新", F5): recomputes at once and leaves the
  // pending mark as it is.
  void OnRefreshCommand();

signals:
  void recomputed();

protected:
  unsigned PageHintBits() const override;
  void resizeEvent(QResizeEvent *event) override;

private:
  void InitialUpdate();
  void Recompute();

  CPieChartWnd *chart_ = nullptr;
  PieSeries series_;
};
