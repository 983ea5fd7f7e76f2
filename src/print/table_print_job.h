// A table on printed pages: the caption row at the top of every page, then
// as many whole rows as fit (a row is never cut between pages). Column
// widths are the screen's widths scaled to the page: a table narrower than
// the page is stretched to its width, one up to a third wider is shrunk to
// it (a table wider than a portrait page is printed in landscape, see
// FittingLayout). A wider table is split into column slices side by side:
// the pages of one band of rows follow each other, one per slice, each
// slice stretched to the page width and each after the first led by the
// table's first column (the key), so that the rows of every page can be
// matched.
#pragma once

#include "print/print_job.h"

#include <QFont>
#include <QList>
#include <QString>

#include <utility>

class QFontMetricsF;
class TableSource;

class TablePrintJob : public PrintJob {
public:
  // The source must outlive the job. title, when given, heads every page.
  explicit TablePrintJob(const TableSource &source,
                         const QString &title = QString());

  int Paginate(const QSizeF &body) override;
  void PaintPage(QPainter &painter, const QRectF &body,
                 int index) const override;
  double NaturalWidth() const override;
  // The title that heads every page; set before the job is paginated.
  void SetTitle(const QString &title) { title_ = title; }

  // Of the last layout.
  int RowsPerPage() const { return rowsPerPage_; }
  int SliceCount() const { return int(slices_.size()); }
  // The source rows page index shows: [first, last); the slice's columns.
  int FirstRow(int index) const;
  int EndRow(int index) const;
  QList<int> SliceColumns(int index) const;

  // Cell padding and the row height, in print units.
  static constexpr double kPadding = 4;
  double RowHeight() const;

private:
  struct Slice {
    QList<int> columns;
    QList<double> widths;
  };

  void LayOutColumns(double width);
  QList<int> ShownColumns(double *total) const;
  double TitleHeight() const;
  void PaintCaptionRow(QPainter &painter, const Slice &slice, double top,
                       double left) const;
  void PaintRow(QPainter &painter, const Slice &slice, int row, double top,
                double left) const;

  const TableSource &source_;
  QString title_;
  QFont font_;
  QFont boldFont_;
  QList<Slice> slices_;
  int rowsPerPage_ = 1;
};

// A table print job that holds its own source: what a page's MakePrintJob
// returns for a table it shows, e.g.
//   return std::make_unique<OwnTablePrintJob<MonthTableSource>>(*this);
template <class Source> class OwnTablePrintJob : public PrintJob {
public:
  template <class... Args>
  explicit OwnTablePrintJob(Args &&...args)
      : source_(std::forward<Args>(args)...), table_(source_) {}

  int Paginate(const QSizeF &body) override { return table_.Paginate(body); }
  void PaintPage(QPainter &painter, const QRectF &body,
                 int index) const override {
    table_.PaintPage(painter, body, index);
  }
  double NaturalWidth() const override { return table_.NaturalWidth(); }
  const TablePrintJob &Table() const { return table_; }
  void SetTitle(const QString &title) { table_.SetTitle(title); }

private:
  Source source_;
  TablePrintJob table_;
};
