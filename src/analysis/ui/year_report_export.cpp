// "导出报表…" without its window; see year_report_export.h.
#include "analysis/ui/year_report_export.h"

#include "analysis/chart_set_up.h"
#include "analysis/ui/chart_set_up_source.h"
#include "analysis/year_statement.h"
#include "document/account_file.h"
#include "document/file_main_show_text.h"
#include "print/year_report.h"
#include "window/document_window.h"
#include "window/print_scope.h"

#include <QDate>
#include <QFileInfo>

YearReportChoices InitialYearReportChoices(const DocumentWindow &window) {
  YearReportChoices choices;
  choices.year = QDate::currentDate().year();
  const ChartSetUp setUp = BarChartSetUp(&window);
  choices.onlyActiveGroups = setUp.groupScope == SCOPE_ONLY;
  choices.onlyFilter = setUp.filterScope == SCOPE_ONLY;
  if (AccountFile *file = window.File()) {
    DefaultStatementColumns(file->Columns(), choices.sumField, choices.byField);
    if (!setUp.sumField.isEmpty())
      choices.sumField = setUp.sumField;
  }
  return choices;
}

bool ExportYearReport(const DocumentWindow &window,
                      const YearReportChoices &choices, bool *empty,
                      QString *error) {
  AccountFile *file = window.File();
  if (!file || !file->Session()) {
    *error = QStringLiteral("没有打开的账簿文件！");
    return false;
  }
  ChartSetUp setUp = BarChartSetUp(&window);
  setUp.groupScope = choices.onlyActiveGroups ? SCOPE_ONLY : SCOPE_ALL;
  setUp.filterScope = choices.onlyFilter ? SCOPE_ONLY : SCOPE_ALL;
  YearStatementRequest request{choices.year, choices.sumField, choices.byField,
                               QString()};
  if (!ChartScopeCondition(setUp, request.scopeWhere)) {
    *error = QStringLiteral("筛选条件无效，无法确定报表的范围！");
    return false;
  }
  YearStatement statement;
  if (!BuildYearStatement(*file->Session(), file->Columns(), request, statement,
                          error))
    return false;
  YearReportTexts texts;
  texts.fileName = QFileInfo(file->Path()).fileName();
  texts.message = ComposeMainShowText(*file, request.scopeWhere);
  texts.scope = ScopeText(window, choices.onlyActiveGroups, choices.onlyFilter);
  texts.made = QDate::currentDate();
  if (!WriteYearReport(statement, texts, choices.path, error))
    return false;
  if (empty)
    *empty = statement.IsEmpty();
  return true;
}
