// The yearly statement (年度报表) as a document: a heading with the year,
// the file, the scope and the main show message; the months' counts and
// sums; the sums by option per month and for the year; the year's bar chart
// and pie chart, drawn by the charts' own painting. Written as PDF (A4
// landscape, fonts embedded, real text) or as HTML with the charts as SVG.
// The program's dialog and `sorvanel-cli report` both write it here.
#pragma once

#include "analysis/year_statement.h"
#include "print/bar_chart_painter.h"
#include "print/page_frame.h"
#include "print/pie_chart_painter.h"

#include <QString>
#include <QStringList>

struct YearReportTexts {
  QString fileName; // the account file's name
  QString message;  // the main show message
  QString scope;    // "范围：…"
  QDate made;       // the date the statement is made
};

// "2025 年度报表".
QString YearReportTitle(int year);
// "2025 年在此范围内没有记录。"
QString NoRecordsText(int year);

// The lines under the title: file, scope, columns, main show message, date.
QStringList YearReportHeadingLines(const YearStatement &statement,
                                   const YearReportTexts &texts);

// The year's charts: a bar per month, a slice per option; with sides, of
// the spending.
BarChartPainter YearBarChart(const YearStatement &statement);
PieChartPainter YearPieChart(const YearStatement &statement);
// Whether the statement has a pie chart: it is split, and not by the side
// column (whose spending alone would be one slice).
bool HasYearPie(const YearStatement &statement);

// Writes the statement to path as PDF or HTML by its extension (.pdf,
// .html, .htm); false with a Chinese message in error for any other
// extension or a file that cannot be written (no partial file is left).
bool WriteYearReport(const YearStatement &statement,
                     const YearReportTexts &texts, const QString &path,
                     QString *error);

// The two forms, written to path as they are (no scratch file).
bool PaintYearReportPdf(const YearStatement &statement,
                        const YearReportTexts &texts, const QString &path);
bool WriteYearReportHtmlTo(const YearStatement &statement,
                           const YearReportTexts &texts, const QString &path);
