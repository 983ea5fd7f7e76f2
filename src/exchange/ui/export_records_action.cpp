// Exporting the records page's scope from the program; see
// export_records_action.h.
#include "exchange/ui/export_records_action.h"

#include "base/prompt.h"
#include "exchange/records_export.h"
#include "exchange/ui/exchange_progress.h"
#include "document/account_file.h"
#include "widgets/start_folder.h"

#include <QFileDialog>

QString ExportFileFilter() {
  return QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件 (*.csv)");
}

bool ExportRecordsWithProgress(QWidget *parent, AccountFile &file,
                               const QStringList &scopes,
                               const QString &path) {
  ExchangeProgressDialog progress(parent,
                                  QStringLiteral("正在导出……已写入 %1 条记录"));
  int count = 0;
  bool cancelled = false;
  QString error;
  if (ExportRecords(file, scopes, path, progress.Callback(), &count,
                    &cancelled, &error))
    return true;
  if (!cancelled)
    ShowMessage(error);
  return false;
}

bool AskAndExportRecords(QWidget *parent, AccountFile &file,
                         const QStringList &scopes) {
  QString filter;
  QString path = QFileDialog::getSaveFileName(
      parent, QStringLiteral("导出"), StartFolder(file.Path()), ExportFileFilter(),
      &filter);
  if (path.isEmpty())
    return false;
  // The chosen filter supplies an extension the name lacks.
  if (!path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) &&
      !path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
    path += filter.contains(QLatin1String("xlsx")) ? QStringLiteral(".xlsx")
                                                   : QStringLiteral(".csv");
  return ExportRecordsWithProgress(parent, file, scopes, path);
}
