// CSorvanBarChartView: the monthly bar chart page ("柱图分析") of an
// account file's window. It recomputes its bars when a change notification
// carries the bar chart bit (0x04) while it is showing, marks itself for
// reload otherwise, and reads what to sum and over which records from its
// window and the bar chart set-up pane.
#pragma once

#include "analysis/bar_series.h"
#include "records/ui/sorvan_base_view.h"

class CBarChart;

class CSorvanBarChartView : public CSorvanBaseView {
  Q_OBJECT

public:
  explicit CSorvanBarChartView(DocumentWindow *window, QWidget *parent = nullptr);
  ~CSorvanBarChartView() override;

  int GetPageKind() const override { return BarChartPage; }
  // Clears the pending mark and recomputes the bars.
  void Refresh() override;

  // The chart widget; null when it could not be made.
  CBarChart *Chart() const { return chart_; }
  // The series of the last recomputation.
  const BarSeries &Series() const { return series_; }

public slots:
  // The refresh command ("刷新", F5): recomputes at once and leaves the
  // pending mark as it is.
  void OnRefreshCommand();

signals:
  // A recomputation finished.
  void recomputed();

protected:
  unsigned PageHintBits() const override;
  void resizeEvent(QResizeEvent *event) override;

private:
  // Makes and styles the chart widget; computes nothing.
  void InitialUpdate();
  void Recompute();

  CBarChart *chart_ = nullptr;
  BarSeries series_;
};
