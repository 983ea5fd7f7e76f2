// "导出报表…" without its window: what the dialog starts with (the bar
// chart's sum column and scope boxes, the first option column, this year)
// and the statement of the choices, written for a document window.
#pragma once

#include <QString>

class DocumentWindow;

struct YearReportChoices {
  int year = 0;
  QString sumField;
  QString byField; // empty: no split
  bool onlyActiveGroups = false; // the charts' two scope boxes
  bool onlyFilter = false;
  QString path; // .pdf or .html
};

// The choices the dialog starts with for the window's file.
YearReportChoices InitialYearReportChoices(const DocumentWindow &window);

// Reads the statement of the window's file and writes it to choices.path.
// False with a Chinese message in error; empty tells that the year had no
// records in scope (the file says so too).
bool ExportYearReport(const DocumentWindow &window,
                      const YearReportChoices &choices, bool *empty,
                      QString *error);
