// The yearly statement as a document; see year_report.h. The HTML form is
// in year_report_html.cpp.
#include "print/year_report.h"

#include "analysis/chart_colours.h"
#include "analysis/chart_texts.h"
#include "base/date_text.h"
#include "model/side_column.h"
#include "exchange/export_target.h"
#include "print/chart_print_job.h"
#include "print/pdf_text_layer.h"
#include "print/print_font.h"
#include "print/print_pages.h"
#include "print/report_file.h"
#include "print/table_print_job.h"
#include "print/table_source.h"
#include "print/year_report_tables.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QFile>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

QColor ToColour(const ChartRgb &rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

// The statement's pages: the heading with the months' table, the options'
// table, the bar chart, the pie chart; a year without records gives the
// heading and a line that says so.
class YearReportJob : public PrintJob {
public:
  YearReportJob(const YearStatement &statement, const YearReportTexts &texts)
      : statement_(statement), lines_(YearReportHeadingLines(statement, texts)),
        months_(statement), options_(statement),
        monthsJob_(months_, MonthTableTitle()),
        optionsJob_(options_, OptionTableTitle(statement)) {
    if (statement.IsEmpty())
      return;
    parts_.push_back(&monthsJob_);
    if (!statement.byTitle.isEmpty())
      parts_.push_back(&optionsJob_);
    bar_ = std::make_unique<BarChartPrintJob>(YearBarChart(statement), texts.scope);
    parts_.push_back(bar_.get());
    if (HasYearPie(statement)) {
      pie_ = std::make_unique<PieChartPrintJob>(YearPieChart(statement), texts.scope);
      parts_.push_back(pie_.get());
    }
  }

  int Paginate(const QSizeF &body) override {
    counts_.clear();
    int total = 0;
    for (size_t i = 0; i < parts_.size(); ++i) {
      const QSizeF size = i == 0 ? QSizeF(body.width(), body.height() - HeadingHeight())
                                 : body;
      counts_.push_back(parts_[i]->Paginate(size));
      total += counts_.back();
    }
    return std::max(1, total);
  }

  void PaintPage(QPainter &painter, const QRectF &body, int index) const override {
    if (index == 0)
      PaintHeading(painter, body);
    for (size_t i = 0; i < parts_.size(); ++i) {
      if (index < counts_[i]) {
        const QRectF area = i == 0 ? body.adjusted(0, HeadingHeight(), 0, 0) : body;
        parts_[i]->PaintPage(painter, area, index);
        return;
      }
      index -= counts_[i];
    }
  }

private:
  double HeadingHeight() const {
    const double title = QFontMetricsF(PrintFont(24, true)).height() + 10;
    const double line = QFontMetricsF(PrintFont(13)).height() + 4;
    return std::ceil(title + line * (lines_.size() + 1) + 12);
  }

  void PaintHeading(QPainter &painter, const QRectF &body) const {
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(PrintFont(24, true));
    const double titleHeight = QFontMetricsF(painter.font()).height() + 10;
    painter.drawText(QRectF(body.left(), body.top(), body.width(), titleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, YearReportTitle(statement_.year));
    painter.setFont(PrintFont(13));
    const QFontMetricsF metrics(painter.font());
    double top = body.top() + titleHeight;
    QStringList lines = lines_;
    if (statement_.IsEmpty())
      lines << NoRecordsText(statement_.year);
    for (const QString &line : lines) {
      const QRectF box(body.left(), top, body.width(), metrics.height() + 4);
      painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                       metrics.elidedText(line, Qt::ElideRight, box.width()));
      top += box.height();
    }
    painter.restore();
  }

  const YearStatement &statement_;
  QStringList lines_;
  MonthTableSource months_;
  OptionTableSource options_;
  TablePrintJob monthsJob_;
  TablePrintJob optionsJob_;
  std::unique_ptr<BarChartPrintJob> bar_;
  std::unique_ptr<PieChartPrintJob> pie_;
  std::vector<PrintJob *> parts_;
  std::vector<int> counts_;
};

bool HasSuffix(const QString &path, std::initializer_list<const char *> suffixes) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  for (const char *s : suffixes)
    if (suffix == QLatin1String(s))
      return true;
  return false;
}

} // namespace

QString YearReportTitle(int year) { return QStringLiteral("%1 年度报表").arg(year); }

QStringList YearReportHeadingLines(const YearStatement &statement,
                                   const YearReportTexts &texts) {
  QStringList lines;
  lines << QStringLiteral("账簿：") + texts.fileName << texts.scope;
  QString columns = QStringLiteral("汇总列：") + statement.sumTitle;
  if (!statement.byTitle.isEmpty())
    columns += QStringLiteral("；分类列：") + statement.byTitle;
  if (statement.HasSides())
    columns += QStringLiteral("；收支列：%1（支出与收入分开合计）")
                   .arg(statement.sideTitle);
  lines << columns;
  if (!texts.message.isEmpty())
    lines << texts.message;
  lines << QStringLiteral("制表日期：") + DayText(texts.made);
  return lines;
}

QString NoRecordsText(int year) {
  return QStringLiteral("%1 年在此范围内没有记录。").arg(year);
}

BarChartPainter YearBarChart(const YearStatement &statement) {
  BarChartPainter chart;
  // With sides the bars are the spending, as the bar chart shows by default.
  const QString what = statement.HasSides()
                           ? QStringLiteral("支出（%1）").arg(statement.sumTitle)
                           : statement.sumTitle;
  chart.SetTitle(QStringLiteral("%1 年各月%2").arg(statement.year).arg(what));
  chart.SetBackgroundColour(ToColour(FromBgr(kBarBackgroundBgr)));
  chart.SetTitleColour(ToColour(FromBgr(kBarTitleBgr)));
  QList<double> values;
  for (int m = 0; m < 12; ++m)
    values.append(statement.HasSides() ? statement.sideMonths[size_t(m)].spending.sum
                                       : statement.months[size_t(m)].sum);
  const QList<ChartRgb> fills = BarFillColours(values);
  const QColor second = ToColour(FromBgr(kBarSecondBgr));
  for (int m = 0; m < 12; ++m)
    chart.AddBar(ChartBar{MonthCaption(m), ToColour(fills[m]), second, values[m]});
  return chart;
}

PieChartPainter YearPieChart(const YearStatement &statement) {
  // With sides the slices are the spending, as the pie chart shows by
  // default: shares of spending and income together mean nothing.
  QString title = QStringLiteral("%1 年按%2").arg(statement.year).arg(statement.byTitle);
  if (statement.HasSides())
    title += QStringLiteral("（支出）");
  PieChartPainter chart(title);
  int slice = 0;
  for (const OptionTotals &row : statement.options) {
    if (statement.HasSides() && row.side != SpendingSide())
      continue;
    const QString name = PieSliceName(row.option, row.year.sum);
    chart.AddSlice(ChartSlice{name, name, QColor::fromRgba(PieSliceArgb(slice++)),
                              row.year.sum});
  }
  return chart;
}

bool HasYearPie(const YearStatement &statement) {
  return !statement.byTitle.isEmpty() && !statement.byIsSide;
}

bool PaintYearReportPdf(const YearStatement &statement,
                        const YearReportTexts &texts, const QString &path) {
  // QPdfWriter says nothing of a write that failed (a full disk): the file
  // it writes through does.
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return false;
  bool painted = false;
  {
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("Sorvanel"));
    writer.setTitle(YearReportTitle(statement.year));
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
    PageFrame frame;
    frame.fileName = texts.fileName;
    frame.message = texts.message;
    frame.printDate = texts.made;
    YearReportJob job(statement, texts);
    painted = PrintPages(job, frame, writer);
  }
  const bool flushed = file.flush() && file.error() == QFileDevice::NoError;
  file.close();
  return painted && flushed && file.error() == QFileDevice::NoError;
}

bool WriteYearReport(const YearStatement &statement,
                     const YearReportTexts &texts, const QString &path,
                     QString *error) {
  const bool pdf = HasSuffix(path, {"pdf"});
  if (!pdf && !HasSuffix(path, {"html", "htm"})) {
    *error = QStringLiteral("报表只能导出为 PDF 或 HTML 文件：%1").arg(path);
    return false;
  }
  // Never over an account file or another database.
  if (!CheckExportTarget(QString(), path, error))
    return false;
  return WriteWholeFile(
      path,
      [&](const QString &scratch) {
        return pdf ? PaintYearReportPdf(statement, texts, scratch) &&
                         MendPdfTextLayer(scratch)
                   : WriteYearReportHtmlTo(statement, texts, scratch);
      },
      error);
}
