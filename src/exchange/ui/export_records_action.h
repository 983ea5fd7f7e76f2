// "导出…" of the records page: asks for a CSV or XLSX file and writes the
// records of the page's scope (one WHERE text per active group, as the page
// queries them) with a progress dialog that can cancel; a cancelled export
// leaves no file.
#pragma once

#include <QStringList>

class AccountFile;
class QWidget;

// The file dialog filter of the export formats.
QString ExportFileFilter();

// Asks for the file and exports; messages go through the prompt. False
// when cancelled or failed.
bool AskAndExportRecords(QWidget *parent, AccountFile &file,
                         const QStringList &scopes);
// Exports to path with a progress dialog over parent.
bool ExportRecordsWithProgress(QWidget *parent, AccountFile &file,
                               const QStringList &scopes,
                               const QString &path);
