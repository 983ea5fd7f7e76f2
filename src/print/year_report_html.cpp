// The yearly statement as HTML: the heading, the two tables and the two
// charts as inline SVG, painted by the same code as the PDF's; one file
// that any browser opens, its texts selectable.
#include "print/year_report.h"

#include "print/print_font.h"
#include "print/year_report_tables.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QSvgGenerator>

#include <functional>

namespace {

constexpr int kChartWidth = 900;
constexpr int kChartHeight = 420;

QString Escaped(const QString &text) { return text.toHtmlEscaped(); }

QString Table(const TableSource &table, const QString &title) {
  QString html = QStringLiteral("<h2>%1</h2>\n<table>\n<tr>").arg(Escaped(title));
  for (int c = 0; c < table.ColumnCount(); ++c)
    html += QStringLiteral("<th>%1</th>").arg(Escaped(table.Caption(c)));
  html += QStringLiteral("</tr>\n");
  for (int r = 0; r < table.RowCount(); ++r) {
    html += QStringLiteral("<tr>");
    for (int c = 0; c < table.ColumnCount(); ++c) {
      const bool right = table.Alignment(c, r) & Qt::AlignRight;
      html += QStringLiteral("<td%1>%2</td>")
                  .arg(right ? QStringLiteral(" class=\"n\"") : QString(),
                       Escaped(table.Text(c, r)));
    }
    html += QStringLiteral("</tr>\n");
  }
  return html + QStringLiteral("</table>\n");
}

// A chart painted into an SVG document, without its XML declaration.
QString Svg(const std::function<void(QPainter &, const QRect &)> &paint,
            const QString &title) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(kChartWidth, kChartHeight));
  generator.setViewBox(QRect(0, 0, kChartWidth, kChartHeight));
  generator.setTitle(title);
  generator.setResolution(96);
  {
    QPainter painter(&generator);
    paint(painter, QRect(0, 0, kChartWidth, kChartHeight));
  }
  QString svg = QString::fromUtf8(buffer.data());
  const qsizetype start = svg.indexOf(QLatin1String("<svg"));
  return start < 0 ? QString() : svg.mid(start);
}

QString Document(const YearStatement &statement, const YearReportTexts &texts) {
  const QString title = YearReportTitle(statement.year);
  QString html = QStringLiteral(
      "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>%1</title>\n<style>\n"
      "body { font-family: \"Noto Sans CJK SC\", sans-serif; margin: 2em; }\n"
      "table { border-collapse: collapse; margin-bottom: 1.5em; }\n"
      "th, td { border: 1px solid #999; padding: 3px 8px; }\n"
      "th { background: #d6e2f5; }\n"
      "td.n { text-align: right; }\n"
      "</style>\n</head>\n<body>\n<h1>%1</h1>\n").arg(Escaped(title));
  for (const QString &line : YearReportHeadingLines(statement, texts))
    html += QStringLiteral("<p>%1</p>\n").arg(Escaped(line));
  if (statement.IsEmpty())
    return html + QStringLiteral("<p><strong>%1</strong></p>\n</body>\n</html>\n")
                      .arg(Escaped(NoRecordsText(statement.year)));

  html += Table(MonthTableSource(statement), MonthTableTitle());
  if (!statement.byTitle.isEmpty())
    html += Table(OptionTableSource(statement),
                  OptionTableTitle(statement));
  const BarChartPainter bar = YearBarChart(statement);
  html += QStringLiteral("<div>%1</div>\n").arg(Svg(
      [&](QPainter &painter, const QRect &rect) {
        bar.Paint(painter, rect, 0, PrintFont(12));
      },
      bar.Title()));
  if (HasYearPie(statement)) {
    const PieChartPainter pie = YearPieChart(statement);
    html += QStringLiteral("<div>%1</div>\n").arg(Svg(
        [&](QPainter &painter, const QRect &rect) {
          pie.Paint(painter, rect, PrintFont(12));
        },
        pie.Caption()));
  }
  return html + QStringLiteral("</body>\n</html>\n");
}

} // namespace

bool WriteYearReportHtmlTo(const YearStatement &statement,
                           const YearReportTexts &texts, const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return false;
  const QByteArray bytes = Document(statement, texts).toUtf8();
  return file.write(bytes) == bytes.size() && file.flush();
}
