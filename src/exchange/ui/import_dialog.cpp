// The import dialog; see import_dialog.h.
#include "exchange/ui/import_dialog.h"

#include "base/prompt.h"
#include "exchange/import_rule_store.h"
#include "exchange/statement_values.h"
#include "exchange/text_decoding.h"
#include "exchange/ui/exchange_progress.h"
#include "groups/group_node.h"
#include "document/account_file.h"
#include "model/field_type.h"
#include "records/row_item.h"
#include "widgets/start_folder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kNone = QStringLiteral("（不导入）");

// Every group of the tree, in tree order, with its path of titles.
void AddGroups(QComboBox *box, const GroupNode &node, const QString &prefix) {
  for (const auto &child : node.children) {
    const QString title = prefix.isEmpty()
                              ? child->title
                              : prefix + QStringLiteral(" / ") + child->title;
    if (child->IsGroup())
      box->addItem(title, child->id);
    AddGroups(box, *child, title);
  }
}

QComboBox *SourceBox(QWidget *parent, const QStringList &headers,
                     const QString &name) {
  auto *box = new QComboBox(parent);
  box->addItem(kNone, QString());
  for (const QString &header : headers)
    box->addItem(header, header);
  box->setAccessibleName(name);
  return box;
}

void SelectData(QComboBox *box, const QVariant &data) {
  const int index = box->findData(data);
  box->setCurrentIndex(index >= 0 ? index : 0);
}

bool IsNumber(int type) { return type == FT_INTEGER || type == FT_FLOAT; }

} // namespace

ImportDialog::ImportDialog(AccountFile &file, int groupId, QWidget *parent)
    : QDialog(parent), file_(file), import_(file) {
  if (groupId > 0)
    import_.SetGroupId(groupId);
  setWindowTitle(QStringLiteral("导入对账单"));
  checkTimer_ = new QTimer(this);
  checkTimer_->setSingleShot(true);
  checkTimer_->setInterval(300);
  connect(checkTimer_, &QTimer::timeout, this, &ImportDialog::Recheck);
}

ImportDialog::~ImportDialog() = default;

bool ImportDialog::OpenStatement(const QString &path) {
  QString error;
  if (!import_.Open(path, &error)) {
    ShowMessage(error);
    return false;
  }
  setWindowTitle(
      QStringLiteral("导入对账单 - %1").arg(QFileInfo(path).fileName()));
  BuildControls();
  ShowMapping();
  Recheck();
  return true;
}

int ImportDialog::Run(QWidget *parent, AccountFile &file, int groupId) {
  const QString path = QFileDialog::getOpenFileName(
      parent, QStringLiteral("导入"), StartFolder(file.Path()),
      QStringLiteral("对账单 (*.csv *.txt *.ofx *.qfx *.xlsx);;所有文件 (*)"));
  if (path.isEmpty())
    return 0;
  ImportDialog dialog(file, groupId, parent);
  if (!dialog.OpenStatement(path) || dialog.exec() != QDialog::Accepted)
    return 0;
  return dialog.StoredCount();
}

void ImportDialog::BuildControls() {
  delete layout();
  qDeleteAll(findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly));
  fieldSources_.clear();
  // Encoding and delimiter are a CSV's; an XLSX has lines above its header
  // too.
  const StatementKind kind = import_.Mapping().format.kind;
  const bool csv = kind == StatementKind::Csv;
  const bool lines = csv || kind == StatementKind::Xlsx;
  const QStringList &headers = import_.Headers();
  auto *root = new QVBoxLayout(this);
  auto *top = new QHBoxLayout;
  root->addLayout(top);

  // How the statement is read.
  auto *reading = new QGroupBox(QStringLiteral("读取"), this);
  auto *readingForm = new QFormLayout(reading);
  encoding_ = new QComboBox(reading);
  encoding_->addItems(StatementEncodings());
  delimiter_ = new QComboBox(reading);
  delimiter_->addItem(QStringLiteral("逗号"), QStringLiteral(","));
  delimiter_->addItem(QStringLiteral("分号"), QStringLiteral(";"));
  delimiter_->addItem(QStringLiteral("制表符"), QStringLiteral("\t"));
  skipLines_ = new QSpinBox(reading);
  skipLines_->setRange(0, 1000);
  hasHeader_ = new QCheckBox(QStringLiteral("首行为标题"), reading);
  group_ = new QComboBox(reading);
  AddGroups(group_, file_.Root(), QString());
  const QList<QPair<QString, QWidget *>> readingRows{
      {QStringLiteral("编码"), encoding_},
      {QStringLiteral("分隔符"), delimiter_},
      {QStringLiteral("跳过行数"), skipLines_},
      {QString(), hasHeader_},
      {QStringLiteral("目标分组"), group_}};
  for (const auto &[label, widget] : readingRows) {
    if (!label.isEmpty())
      widget->setAccessibleName(label);
    readingForm->addRow(label, widget);
    if (widget == encoding_ || widget == delimiter_)
      widget->setEnabled(csv);
    else if (widget != group_)
      widget->setEnabled(lines);
  }
  top->addWidget(reading);

  // Columns of the file and where their values come from.
  auto *mapping = new QGroupBox(QStringLiteral("列对应"), this);
  auto *mappingForm = new QFormLayout(mapping);
  const ColumnList &columns = file_.Columns();
  for (int i = 0; i < columns.Size(); ++i) {
    const ColumnDef &column = columns.At(i);
    if (column.type == FT_KEY) {
      fieldSources_.append(nullptr);
      continue;
    }
    QComboBox *box = SourceBox(mapping, headers, column.title);
    fieldSources_.append(box);
    mappingForm->addRow(column.title, box);
  }
  top->addWidget(mapping);

  // Amounts and the forms of dates and numbers.
  auto *values = new QGroupBox(QStringLiteral("金额与格式"), this);
  auto *valuesForm = new QFormLayout(values);
  amountField_ = new QComboBox(values);
  amountField_->addItem(kNone, QString());
  for (const ColumnDef &column : columns.All())
    if (IsNumber(column.type))
      amountField_->addItem(column.title, column.fieldName);
  amountMode_ = new QComboBox(values);
  amountMode_->addItem(QStringLiteral("一列（带正负号）"));
  amountMode_->addItem(QStringLiteral("支出、收入两列"));
  amountColumn_ = SourceBox(values, headers, QStringLiteral("金额列"));
  debitColumn_ = SourceBox(values, headers, QStringLiteral("支出列"));
  creditColumn_ = SourceBox(values, headers, QStringLiteral("收入列"));
  negate_ = new QCheckBox(QStringLiteral("支出记为正数"), values);
  dateForm_ = new QComboBox(values);
  dateForm_->addItems(DateForms());
  dateNote_ = new QLabel(values);
  decimal_ = new QComboBox(values);
  decimal_->addItem(QStringLiteral("小数点（1,234.50）"));
  decimal_->addItem(QStringLiteral("小数逗号（1.234,50）"));
  const QList<QPair<QString, QWidget *>> valueRows{
      {QStringLiteral("金额存入"), amountField_},
      {QStringLiteral("金额形式"), amountMode_},
      {QStringLiteral("金额列"), amountColumn_},
      {QStringLiteral("支出列"), debitColumn_},
      {QStringLiteral("收入列"), creditColumn_},
      {QString(), negate_},
      {QStringLiteral("日期格式"), dateForm_},
      {QString(), dateNote_},
      {QStringLiteral("小数"), decimal_}};
  for (const auto &[label, widget] : valueRows) {
    if (!label.isEmpty())
      widget->setAccessibleName(label);
    valuesForm->addRow(label, widget);
  }
  top->addWidget(values);

  // The first lines as they will be stored.
  preview_ = new QTableWidget(this);
  preview_->setAccessibleName(QStringLiteral("预览"));
  preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  preview_->setColumnCount(columns.Size() + 1);
  QStringList captions{QStringLiteral("行")};
  for (const ColumnDef &column : columns.All())
    captions.append(column.title);
  preview_->setHorizontalHeaderLabels(captions);
  preview_->verticalHeader()->hide();
  root->addWidget(new QLabel(QStringLiteral("预览（前%1行）")
                                 .arg(import_.Sample().size()),
                             this));
  root->addWidget(preview_, 2);

  // A known bill: what it is, whose and of when, and how its refunds go.
  if (const BillLayout *layout = import_.Layout()) {
    auto *bill = new QHBoxLayout;
    bill->addWidget(new QLabel(BillTitle(*layout, import_.Head()), this), 1);
    auto *cancel = new QCheckBox(QStringLiteral("退款抵消付款"), this);
    cancel->setToolTip(
        QStringLiteral("账单中的退款冲减其付款的金额，而不记为收入"));
    cancel->setChecked(import_.RefundsCancelPayments());
    connect(cancel, &QCheckBox::toggled, this, [this](bool on) {
      import_.SetRefundsCancelPayments(on);
      ScheduleCheck();
    });
    bill->addWidget(cancel);
    root->addLayout(bill);
  }
  summary_ = new QLabel(this);
  root->addWidget(summary_);
  badLines_ = new QListWidget(this);
  badLines_->setAccessibleName(QStringLiteral("无法导入的行"));
  badLines_->setMaximumHeight(90);
  root->addWidget(badLines_);
  duplicateNote_ = new QLabel(
      QStringLiteral("下列行与分组中已有的记录相同，勾选的行仍会导入："), this);
  root->addWidget(duplicateNote_);
  duplicates_ = new QListWidget(this);
  duplicates_->setAccessibleName(QStringLiteral("重复的行"));
  duplicates_->setMaximumHeight(90);
  duplicates_->setFlow(QListView::LeftToRight);
  duplicates_->setWrapping(true);
  root->addWidget(duplicates_);
  unticked_ = new QListWidget(this);
  unticked_->setAccessibleName(QStringLiteral("不导入的行"));
  unticked_->setToolTip(QStringLiteral("已关闭、已退款、不计收支等行，勾选的行仍会导入"));
  unticked_->setMaximumHeight(90);
  root->addWidget(unticked_);

  auto *buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("导入"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &ImportDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ImportDialog::reject);
  root->addWidget(buttons);

  // Reading settings read the statement again; the rest re-check it.
  for (QComboBox *box : {encoding_, delimiter_})
    connect(box, &QComboBox::currentIndexChanged, this,
            &ImportDialog::ReadFormat);
  connect(skipLines_, &QSpinBox::valueChanged, this, &ImportDialog::ReadFormat);
  connect(hasHeader_, &QCheckBox::toggled, this, &ImportDialog::ReadFormat);
  QList<QComboBox *> mappingBoxes{group_,        amountField_, amountMode_,
                                  amountColumn_, debitColumn_, creditColumn_,
                                  dateForm_,     decimal_};
  for (QComboBox *box : fieldSources_)
    if (box)
      mappingBoxes.append(box);
  for (QComboBox *box : mappingBoxes)
    connect(box, &QComboBox::currentIndexChanged, this,
            &ImportDialog::ReadMapping);
  connect(negate_, &QCheckBox::toggled, this, &ImportDialog::ReadMapping);
  resize(1100, 720);
}

// The mapping into the controls.
void ImportDialog::ShowMapping() {
  showing_ = true;
  const ImportMapping &mapping = import_.Mapping();
  const StatementFormat &format = mapping.format;
  encoding_->setCurrentText(format.encoding);
  SelectData(delimiter_, QString(QLatin1Char(format.delimiter)));
  skipLines_->setValue(format.skipLines);
  hasHeader_->setChecked(format.hasHeader);
  SelectData(group_, import_.GroupId());
  const ColumnList &columns = file_.Columns();
  for (int i = 0; i < columns.Size() && i < fieldSources_.size(); ++i)
    if (fieldSources_[i])
      SelectData(fieldSources_[i],
                 mapping.SourceOf(columns.At(i).fieldName));
  SelectData(amountField_, mapping.amountField);
  amountMode_->setCurrentIndex(mapping.UsesDebitCredit() ? 1 : 0);
  SelectData(amountColumn_, mapping.amountColumn);
  SelectData(debitColumn_, mapping.debitColumn);
  SelectData(creditColumn_, mapping.creditColumn);
  negate_->setChecked(mapping.negate);
  dateForm_->setCurrentText(mapping.dateForm);
  decimal_->setCurrentIndex(mapping.decimalComma ? 1 : 0);
  const bool pair = mapping.UsesDebitCredit();
  amountColumn_->setEnabled(!pair);
  debitColumn_->setEnabled(pair);
  creditColumn_->setEnabled(pair);
  const QStringList choices = import_.DateFormChoices();
  dateNote_->setText(choices.size() > 1
                         ? QStringLiteral("日期有歧义，可选：%1")
                               .arg(choices.join(QStringLiteral("、")))
                         : QString());
  showing_ = false;
}

void ImportDialog::ReadFormat() {
  if (showing_)
    return;
  StatementFormat &format = import_.Mapping().format;
  format.encoding = encoding_->currentText();
  format.delimiter = delimiter_->currentData().toString().at(0).toLatin1();
  format.skipLines = skipLines_->value();
  format.hasHeader = hasHeader_->isChecked();
  const QStringList before = import_.Headers();
  QString error;
  if (!import_.Reload(&error)) {
    ShowMessage(error);
    return;
  }
  // Other columns: offer them and start from a new guess.
  if (import_.Headers() != before) {
    import_.GuessMapping();
    FillSources();
  }
  ShowMapping();
  ScheduleCheck();
}

// The statement's columns as the choices of every source box.
void ImportDialog::FillSources() {
  showing_ = true;
  QList<QComboBox *> boxes{amountColumn_, debitColumn_, creditColumn_};
  for (QComboBox *box : fieldSources_)
    if (box)
      boxes.append(box);
  for (QComboBox *box : boxes) {
    box->clear();
    box->addItem(kNone, QString());
    for (const QString &header : import_.Headers())
      box->addItem(header, header);
  }
  showing_ = false;
}

void ImportDialog::ReadMapping() {
  if (showing_)
    return;
  ImportMapping &mapping = import_.Mapping();
  const ColumnList &columns = file_.Columns();
  mapping.fields.clear();
  for (int i = 0; i < columns.Size() && i < fieldSources_.size(); ++i)
    if (fieldSources_[i])
      mapping.Map(columns.At(i).fieldName,
                  fieldSources_[i]->currentData().toString());
  mapping.amountField = amountField_->currentData().toString();
  const bool pair = amountMode_->currentIndex() == 1;
  mapping.amountColumn = pair ? QString() : amountColumn_->currentData().toString();
  mapping.debitColumn = pair ? debitColumn_->currentData().toString() : QString();
  mapping.creditColumn =
      pair ? creditColumn_->currentData().toString() : QString();
  mapping.negate = negate_->isChecked();
  mapping.dateForm = dateForm_->currentText();
  mapping.decimalComma = decimal_->currentIndex() == 1;
  import_.SetGroupId(group_->currentData().toInt());
  amountColumn_->setEnabled(!pair);
  debitColumn_->setEnabled(pair);
  creditColumn_->setEnabled(pair);
  ScheduleCheck();
}

void ImportDialog::ScheduleCheck() {
  ShowPreview();
  checkTimer_->start();
}

void ImportDialog::ShowPreview() {
  const std::vector<SourceLine> &sample = import_.Sample();
  const QDateTime now = QDateTime::currentDateTime();
  preview_->setRowCount(int(sample.size()));
  for (int row = 0; row < int(sample.size()); ++row) {
    QStringList texts;
    QString reason;
    const bool good = import_.ConvertLine(sample[size_t(row)], &texts, &reason);
    if (good) {
      // As stored: with defaults, automatic values and formulas; the key
      // is given when the record is stored.
      const CRowItem record = import_.MakeRecord(texts, 0, now);
      for (qsizetype i = 0; i < texts.size() && i < record.items.size(); ++i)
        texts[i] = int(i) == int(record.keyIndex) && file_.Columns().At(int(i)).type == FT_KEY
                       ? QString()
                       : record.items[i].text;
    }
    auto *number =
        new QTableWidgetItem(QString::number(sample[size_t(row)].lineNumber));
    preview_->setItem(row, 0, number);
    for (int col = 0; col < file_.Columns().Size(); ++col) {
      auto *item = new QTableWidgetItem(good ? texts.value(col)
                                             : col == 0 ? reason : QString());
      if (!good)
        item->setForeground(Qt::red);
      preview_->setItem(row, col + 1, item);
    }
  }
  preview_->resizeColumnsToContents();
}

void ImportDialog::Recheck() {
  checkTimer_->stop();
  ShowPreview();
  ExchangeProgressDialog progress(this,
                                  QStringLiteral("正在检查……已读 %1 行"));
  QString error;
  if (!import_.Check(&check_, progress.Callback(), &error))
    summary_->setText(error);
  else
    ShowCheck();
}

void ImportDialog::ShowCheck() {
  const int duplicates = int(check_.duplicateLines.size());
  summary_->setText(QStringLiteral("可导入 %1 行，无法导入 %2 行，重复 %3 行")
                        .arg(int(check_.TickedLines().size()))
                        .arg(check_.bad.size())
                        .arg(duplicates));
  badLines_->clear();
  for (const BadLine &bad : check_.bad)
    badLines_->addItem(
        QStringLiteral("第%1行：%2").arg(bad.lineNumber).arg(bad.reason));
  badLines_->setVisible(!check_.bad.isEmpty());
  duplicates_->clear();
  for (const int line : check_.duplicateLines) {
    auto *item = new QListWidgetItem(QStringLiteral("第%1行").arg(line));
    item->setData(Qt::UserRole, line);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    duplicates_->addItem(item);
  }
  duplicateNote_->setVisible(duplicates > 0);
  duplicates_->setVisible(duplicates > 0);
  // Lines of a bill that are not imported unless ticked: closed payments,
  // refunds that cancel their payments, neutral lines and income without a
  // 收支 column.
  unticked_->clear();
  for (const CheckedLine &line : check_.lines) {
    if (line.ticked || line.state == LineState::Bad ||
        line.state == LineState::Duplicate)
      continue;
    auto *item = new QListWidgetItem(
        QStringLiteral("第%1行：%2").arg(line.lineNumber).arg(line.reason));
    item->setData(Qt::UserRole, line.lineNumber);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    unticked_->addItem(item);
  }
  unticked_->setVisible(unticked_->count() > 0);
  if (unticked_->count() > 0)
    summary_->setText(summary_->text() +
                      QStringLiteral("，不导入 %1 行").arg(unticked_->count()));
}

void ImportDialog::accept() {
  if (checkTimer_->isActive())
    Recheck();
  if (check_.good == 0) {
    ShowMessage(QStringLiteral("没有可导入的行！"));
    return;
  }
  QSet<int> ticked = check_.TickedLines();
  for (const QListWidget *list : {duplicates_, unticked_})
    for (int i = 0; i < list->count(); ++i)
      if (list->item(i)->checkState() == Qt::Checked)
        ticked.insert(list->item(i)->data(Qt::UserRole).toInt());
  ExchangeProgressDialog progress(this,
                                  QStringLiteral("正在导入……已读 %1 行"));
  bool cancelled = false;
  QString error;
  const int stored = import_.Store(check_, ticked, progress.Callback(),
                                   &cancelled, &error);
  if (cancelled)
    return;
  if (stored < 0) {
    ShowMessage(error);
    return;
  }
  // An import that stored nothing leaves the file as it was.
  if (stored > 0) {
    import_.SaveMapping();
    SaveImportRuleMatches(file_, import_.Rules());
  }
  stored_ = stored;
  QDialog::accept();
}
