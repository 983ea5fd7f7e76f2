// sorvanel-cli report PATH --year YYYY [--sum F] [--by F] [--where TEXT]
// OUT.pdf|OUT.html: the yearly statement of the records in scope (--where,
// every record without it) as PDF or HTML, the same document as the
// program's 导出报表…. --sum defaults to the column the charts sum, --by to
// the first option column (none: no split).
#include "cli_account.h"
#include "cli_command.h"

#include "analysis/scope_check.h"
#include "analysis/year_statement.h"
#include "base/prompt.h"
#include "document/account_file.h"
#include "document/file_main_show_text.h"
#include "print/year_report.h"

#include <QFileInfo>

namespace {

const char kUsage[] = "report PATH --year YYYY [--sum F] [--by F] [--where TEXT] "
                      "OUT.pdf|OUT.html";

struct ReportArguments {
  QString path;
  QString out;
  YearStatementRequest request;
  bool haveSum = false;
  bool haveBy = false;
};

int Usage() {
  ShowUsage("report");
  return 1;
}

bool Parse(const QStringList &args, ReportArguments &out) {
  if (args.size() < 2 || args.first().startsWith(QLatin1String("--")))
    return false;
  out.path = args.first();
  out.out = args.last();
  bool haveYear = false;
  // The flags and their values lie between PATH and OUT.
  for (qsizetype i = 1; i < args.size() - 1; i += 2) {
    if (i + 1 >= args.size() - 1)
      return false;
    const QString &flag = args[i];
    const QString &value = args[i + 1];
    if (flag == QLatin1String("--year")) {
      bool ok = false;
      out.request.year = value.toInt(&ok);
      haveYear = ok;
      if (!ok)
        return false;
    } else if (flag == QLatin1String("--sum")) {
      out.request.sumField = value;
      out.haveSum = true;
    } else if (flag == QLatin1String("--by")) {
      out.request.byField = value;
      out.haveBy = true;
    } else if (flag == QLatin1String("--where")) {
      out.request.scopeWhere = value;
    } else {
      return false;
    }
  }
  return haveYear;
}

int RunReport(const QStringList &args) {
  ReportArguments arguments;
  if (!Parse(args, arguments))
    return Usage();
  AccountFile file;
  if (!OpenForReading(file, arguments.path))
    return 1;
  QString sum, by;
  DefaultStatementColumns(file.Columns(), sum, by);
  YearStatementRequest &request = arguments.request;
  if (!arguments.haveSum)
    request.sumField = sum;
  if (!arguments.haveBy)
    request.byField = by;
  const QString scopeError = ScopeWhereError(*file.Session(), request.scopeWhere);
  if (!scopeError.isEmpty()) {
    ShowMessage(scopeError);
    return 1;
  }
  YearStatement statement;
  QString error;
  if (!BuildYearStatement(*file.Session(), file.Columns(), request, statement,
                          &error)) {
    ShowMessage(error);
    return 1;
  }
  YearReportTexts texts;
  texts.fileName = QFileInfo(arguments.path).fileName();
  texts.message = ComposeMainShowText(file, request.scopeWhere);
  texts.scope = request.scopeWhere.isEmpty()
                    ? QStringLiteral("范围：所有记录")
                    : QStringLiteral("范围：") + request.scopeWhere;
  texts.made = QDate::currentDate();
  if (!WriteYearReport(statement, texts, arguments.out, &error)) {
    ShowMessage(error);
    return 1;
  }
  if (statement.IsEmpty())
    ShowMessage(NoRecordsText(request.year));
  return 0;
}

} // namespace

SORVANEL_CLI_COMMAND("report", kUsage, RunReport);
