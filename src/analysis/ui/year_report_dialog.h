// "导出报表…": the yearly statement's dialog: the year, the scope (the
// charts' two boxes: only the active groups, only the filtered records),
// the sum column, the option column to split by, PDF or HTML and the file.
// 导出 writes it (year_report_export.h); a failure keeps the dialog open.
#pragma once

#include "analysis/ui/year_report_export.h"

#include <QDialog>

class DocumentWindow;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

class CYearReportDialog : public QDialog {
  Q_OBJECT

public:
  CYearReportDialog(const DocumentWindow &window, QWidget *parent = nullptr);

  // The choices as the dialog shows them.
  YearReportChoices Choices() const;
  QSpinBox *YearBox() const { return year_; }
  QLineEdit *PathEdit() const { return path_; }
  QComboBox *FormatBox() const { return format_; }

public slots:
  void accept() override;

private:
  void Browse();
  // The path with the extension of the chosen format.
  QString PathWithSuffix() const;

  const DocumentWindow &window_;
  QSpinBox *year_;
  QCheckBox *groups_;
  QCheckBox *filter_;
  QComboBox *sum_;
  QComboBox *by_;
  QComboBox *format_;
  QLineEdit *path_;
};
