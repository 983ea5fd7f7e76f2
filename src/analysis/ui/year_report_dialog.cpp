// The yearly statement's dialog; see year_report_dialog.h.
#include "analysis/ui/year_report_dialog.h"

#include "base/prompt.h"
#include "document/account_file.h"
#include "model/field_type.h"
#include "print/year_report.h"
#include "widgets/start_folder.h"
#include "window/document_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace {

template <typename W> W *Named(W *widget, const QString &name) {
  widget->setAccessibleName(name);
  return widget;
}

} // namespace

CYearReportDialog::CYearReportDialog(const DocumentWindow &window, QWidget *parent)
    : QDialog(parent), window_(window) {
  setWindowTitle(QStringLiteral("导出报表"));
  const YearReportChoices initial = InitialYearReportChoices(window);
  auto *form = new QFormLayout(this);
  year_ = Named(new QSpinBox(this), QStringLiteral("年份"));
  year_->setRange(100, 9999);
  year_->setValue(initial.year);
  form->addRow(QStringLiteral("年份"), year_);
  groups_ = Named(new QCheckBox(QStringLiteral("只统计当前活动分组"), this),
                  QStringLiteral("只统计当前活动分组"));
  groups_->setChecked(initial.onlyActiveGroups);
  filter_ = Named(new QCheckBox(QStringLiteral("只统计当前筛选内容"), this),
                  QStringLiteral("只统计当前筛选内容"));
  filter_->setChecked(initial.onlyFilter);
  form->addRow(QStringLiteral("范围"), groups_);
  form->addRow(QString(), filter_);

  sum_ = Named(new QComboBox(this), QStringLiteral("汇总列"));
  by_ = Named(new QComboBox(this), QStringLiteral("分类列"));
  by_->addItem(QStringLiteral("（不分类）"), QString());
  if (AccountFile *file = window.File())
    for (const ColumnDef &column : file->Columns().All()) {
      if (!column.enabled)
        continue;
      if (column.type == FT_INTEGER || column.type == FT_FLOAT)
        sum_->addItem(column.title, column.fieldName);
      if (column.type == FT_OPTION)
        by_->addItem(column.title, column.fieldName);
    }
  sum_->setCurrentIndex(std::max(0, sum_->findData(initial.sumField)));
  by_->setCurrentIndex(std::max(0, by_->findData(initial.byField)));
  form->addRow(QStringLiteral("汇总列"), sum_);
  form->addRow(QStringLiteral("分类列"), by_);

  format_ = Named(new QComboBox(this), QStringLiteral("格式"));
  format_->addItem(QStringLiteral("PDF 文档 (*.pdf)"), QStringLiteral("pdf"));
  format_->addItem(QStringLiteral("网页 (*.html)"), QStringLiteral("html"));
  form->addRow(QStringLiteral("格式"), format_);
  auto *where = new QHBoxLayout;
  path_ = Named(new QLineEdit(this), QStringLiteral("文件"));
  AccountFile *file = window.File();
  const QString folder = StartFolder(file ? file->Path() : QString());
  path_->setText(folder + QStringLiteral("/%1 年度报表.pdf").arg(initial.year));
  auto *browse = Named(new QPushButton(QStringLiteral("浏览…"), this),
                       QStringLiteral("浏览…"));
  where->addWidget(path_, 1);
  where->addWidget(browse);
  form->addRow(QStringLiteral("文件"), where);
  connect(browse, &QPushButton::clicked, this, &CYearReportDialog::Browse);
  connect(format_, &QComboBox::currentIndexChanged, this,
          [this] { path_->setText(PathWithSuffix()); });
  // The file named after the year follows the year.
  connect(year_, &QSpinBox::valueChanged, this, [this](int year) {
    const QFileInfo info(path_->text());
    if (info.completeBaseName().endsWith(QStringLiteral(" 年度报表")))
      path_->setText(info.dir().filePath(
          QStringLiteral("%1 年度报表.%2").arg(year).arg(info.suffix())));
  });

  auto *buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("导出"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &CYearReportDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
  setMinimumWidth(560);
}

QString CYearReportDialog::PathWithSuffix() const {
  const QString path = path_->text().trimmed();
  if (path.isEmpty())
    return path;
  const QString suffix = format_->currentData().toString();
  const QFileInfo info(path);
  const QString current = info.suffix().toLower();
  if (current == suffix || (suffix == QLatin1String("html") && current == QLatin1String("htm")))
    return path;
  const bool known = current == QLatin1String("pdf") || current == QLatin1String("html") ||
                     current == QLatin1String("htm");
  const QString base = known ? path.left(path.size() - current.size() - 1) : path;
  return base + QLatin1Char('.') + suffix;
}

void CYearReportDialog::Browse() {
  const QString chosen = QFileDialog::getSaveFileName(
      this, QStringLiteral("导出报表"), path_->text(), format_->currentText());
  if (!chosen.isEmpty()) {
    path_->setText(chosen);
    path_->setText(PathWithSuffix());
  }
}

YearReportChoices CYearReportDialog::Choices() const {
  YearReportChoices choices;
  choices.year = year_->value();
  choices.sumField = sum_->currentData().toString();
  choices.byField = by_->currentData().toString();
  choices.onlyActiveGroups = groups_->isChecked();
  choices.onlyFilter = filter_->isChecked();
  choices.path = PathWithSuffix();
  return choices;
}

void CYearReportDialog::accept() {
  const YearReportChoices choices = Choices();
  if (choices.path.isEmpty()) {
    ShowMessage(QStringLiteral("请选择报表文件的保存位置！"));
    path_->setFocus();
    return;
  }
  if (choices.sumField.isEmpty()) {
    ShowMessage(QStringLiteral("账簿没有可汇总的数值列！"));
    return;
  }
  bool empty = false;
  QString error;
  if (!ExportYearReport(window_, choices, &empty, &error)) {
    ShowMessage(error);
    path_->setFocus();
    return;
  }
  if (empty)
    ShowMessage(NoRecordsText(choices.year));
  QDialog::accept();
}
