// The import dialog; see import_dialog.h.
#include "exchange/ui/import_dialog.h"

#include "base/prompt.h"
#include "exchange/import_rule_store.h"
#include "exchange/statement_values.h"
#include "exchange/text_decoding.h"
#include "exchange/ui/exchange_progress.h"
#include "exchange/ui/import_preview_delegate.h"
#include "exchange/ui/import_preview_model.h"
#include "groups/group_node.h"
#include "document/account_file.h"
#include "model/field_type.h"
#include "widgets/start_folder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kNone = QStringLiteral("（不导入）");
// The data of a source box whose column is filled by the amount.
const QString kTaken = QStringLiteral("\x01taken");

// What fills field besides the field mappings: the amount column(s) for
// the amount field, the 收/支 or 借/贷 column (or the amount's sign) for the
// side field; empty when nothing does.
QString TakenBy(const ImportMapping &mapping, const QString &field) {
  if (!field.compare(mapping.amountField, Qt::CaseInsensitive)) {
    if (mapping.UsesDebitCredit())
      return QStringLiteral("%1 − %2").arg(mapping.creditColumn, mapping.debitColumn);
    if (!mapping.amountColumn.isEmpty())
      return mapping.amountColumn;
  }
  if (!field.compare(mapping.directionField, Qt::CaseInsensitive) &&
      !mapping.amountField.isEmpty()) {
    if (!mapping.directionColumn.isEmpty())
      return mapping.directionColumn;
    if (!mapping.flagColumn.isEmpty())
      return mapping.flagColumn;
    return QStringLiteral("（按金额正负）");
  }
  return QString();
}

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
      QStringLiteral("对账单 (*.csv *.txt *.ofx *.qfx *.xlsx *.xls);;所有文件 (*)"));
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
  auto *root = new QVBoxLayout(this);

  // What the statement is: a known bill with its holder and period, or a
  // file read through the mapping below.
  const BillLayout *layout = import_.Layout();
  auto *head = new QHBoxLayout;
  const QString title =
      layout ? BillTitle(*layout, import_.Head())
      : import_.MappingWasSaved()
          ? QStringLiteral("未识别的账单格式，按上次保存的列对应读取，请核对")
          : QStringLiteral("未识别的账单格式，已按列名猜测列对应，请核对");
  head->addWidget(new QLabel(title, this), 1);
  if (layout) {
    auto *cancel = new QCheckBox(QStringLiteral("退款抵消付款(&F)"), this);
    cancel->setAccessibleName(QStringLiteral("退款抵消付款"));
    cancel->setToolTip(
        QStringLiteral("账单中的退款冲减其付款的金额，而不记为收入"));
    cancel->setChecked(import_.RefundsCancelPayments());
    connect(cancel, &QCheckBox::toggled, this, [this](bool on) {
      import_.SetRefundsCancelPayments(on);
      ScheduleCheck();
    });
    head->addWidget(cancel);
  }
  if (!layout || layout->user) {
    auto *keep = new QPushButton(QStringLiteral("保存为账单格式(&S)…"), this);
    keep->setAccessibleName(QStringLiteral("保存为账单格式"));
    keep->setToolTip(
        QStringLiteral("记住这种对账单的格式和列对应，以后自动识别"));
    keep->setAutoDefault(false);
    connect(keep, &QPushButton::clicked, this, &ImportDialog::SaveAsLayout);
    head->addWidget(keep);
  }
  auto *showMapping = new QPushButton(QStringLiteral("列对应(&M)"), this);
  showMapping->setAccessibleName(QStringLiteral("列对应"));
  showMapping->setCheckable(true);
  mappingToggle_ = showMapping;
  head->addWidget(showMapping);
  root->addLayout(head);

  // A known bill needs no mapping; it stays at hand all the same.
  QWidget *mapping = BuildMappingPanel();
  root->addWidget(mapping);
  showMapping->setChecked(!layout);
  mapping->setVisible(!layout);
  connect(showMapping, &QPushButton::toggled, mapping, &QWidget::setVisible);

  // Every line with its tick, state and reason, then the record.
  auto *tableLabel = new QLabel(QStringLiteral("对账单的行(&L)："), this);
  root->addWidget(tableLabel);
  table_ = new QTableView(this);
  model_ = new ImportPreviewModel(import_, file_.Columns(), table_);
  table_->setModel(model_);
  table_->setItemDelegate(
      new ImportPreviewDelegate(*model_, file_.Columns(), table_));
  table_->setAccessibleName(QStringLiteral("预览"));
  table_->setAccessibleDescription(
      QStringLiteral("每行的导入勾选、行号、状态、原因和将存入的记录；空格键切换勾选"));
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::DoubleClicked |
                          QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
  table_->setTabKeyNavigation(false);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->horizontalHeader()->setResizeContentsPrecision(50);
  table_->setContextMenuPolicy(Qt::ActionsContextMenu);
  table_->installEventFilter(this);
  tableLabel->setBuddy(table_);
  root->addWidget(table_, 1);

  summary_ = new QLabel(this);
  summary_->setAccessibleName(QStringLiteral("统计"));
  root->addWidget(summary_);

  auto *bottom = new QHBoxLayout;
  auto *groupLabel = new QLabel(QStringLiteral("目标分组(&G)："), this);
  group_ = new QComboBox(this);
  group_->setAccessibleName(QStringLiteral("目标分组"));
  AddGroups(group_, file_.Root(), QString());
  groupLabel->setBuddy(group_);
  bottom->addWidget(groupLabel);
  bottom->addWidget(group_);
  remember_ = new QPushButton(QStringLiteral("记住此分类(&R)"), this);
  remember_->setAccessibleName(QStringLiteral("记住此分类"));
  remember_->setToolTip(
      QStringLiteral("按这一行的交易对方记下修改后的值，作为导入规则"));
  remember_->setAutoDefault(false);
  connect(remember_, &QPushButton::clicked, this,
          &ImportDialog::RememberCategory);
  bottom->addWidget(remember_);
  auto *rememberAction = new QAction(QStringLiteral("记住此分类"), table_);
  connect(rememberAction, &QAction::triggered, this,
          &ImportDialog::RememberCategory);
  table_->addAction(rememberAction);
  bottom->addStretch(1);

  auto *buttons = new QDialogButtonBox(this);
  QPushButton *importButton =
      buttons->addButton(QStringLiteral("导入(&I)"), QDialogButtonBox::AcceptRole);
  importButton->setAccessibleName(QStringLiteral("导入"));
  importButton->setDefault(true);
  QPushButton *cancelButton =
      buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  cancelButton->setAccessibleName(QStringLiteral("取消"));
  connect(buttons, &QDialogButtonBox::accepted, this, &ImportDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ImportDialog::reject);
  bottom->addWidget(buttons);
  root->addLayout(bottom);

  connect(table_->selectionModel(), &QItemSelectionModel::currentChanged,
          this, &ImportDialog::UpdateRememberButton);
  connect(model_, &QAbstractItemModel::dataChanged, this, [this] {
    summary_->setText(model_->Preview().CountsText());
    UpdateRememberButton();
  });

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
  const QList<QWidget *> order{showMapping, table_,       group_,
                               remember_,   importButton, cancelButton};
  for (qsizetype i = 1; i < order.size(); ++i)
    setTabOrder(order[i - 1], order[i]);
  table_->setFocus();
  resize(1100, 720);
}

// How the statement is read and which of its columns fills which column
// of the file.
QWidget *ImportDialog::BuildMappingPanel() {
  // Encoding and delimiter are a CSV's; an XLSX has lines above its header
  // too.
  const StatementKind kind = import_.Mapping().format.kind;
  const bool csv = kind == StatementKind::Csv;
  const bool lines = csv || kind == StatementKind::Xlsx || kind == StatementKind::Xls;
  const QStringList &headers = import_.Headers();
  auto *panel = new QWidget(this);
  auto *top = new QHBoxLayout(panel);
  top->setContentsMargins(0, 0, 0, 0);

  auto *reading = new QGroupBox(QStringLiteral("读取"), panel);
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
  const QList<QPair<QString, QWidget *>> readingRows{
      {QStringLiteral("编码"), encoding_},
      {QStringLiteral("分隔符"), delimiter_},
      {QStringLiteral("跳过行数"), skipLines_},
      {QString(), hasHeader_}};
  for (const auto &[label, widget] : readingRows) {
    if (!label.isEmpty())
      widget->setAccessibleName(label);
    readingForm->addRow(label, widget);
    if (widget == encoding_ || widget == delimiter_)
      widget->setEnabled(csv);
    else
      widget->setEnabled(lines);
  }
  top->addWidget(reading);

  // Columns of the file and where their values come from.
  auto *mapping = new QGroupBox(QStringLiteral("列对应"), panel);
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
  auto *values = new QGroupBox(QStringLiteral("金额与格式"), panel);
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
  for (const QString &form : DateForms())
    dateForm_->addItem(DateFormExample(form), form);
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
  return panel;
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
  for (int i = 0; i < columns.Size() && i < fieldSources_.size(); ++i) {
    QComboBox *box = fieldSources_[i];
    if (!box)
      continue;
    // The amount and its side are filled as "金额与格式" says.
    const QString &field = columns.At(i).fieldName;
    const QString taken = TakenBy(mapping, field);
    box->setEnabled(taken.isEmpty());
    if (!taken.isEmpty()) {
      if (box->findData(kTaken) < 0)
        box->addItem(QString(), kTaken);
      box->setItemText(box->findData(kTaken), taken);
      SelectData(box, kTaken);
      continue;
    }
    if (box->findData(kTaken) >= 0)
      box->removeItem(box->findData(kTaken));
    SelectData(box, mapping.SourceOf(field));
  }
  SelectData(amountField_, mapping.amountField);
  amountMode_->setCurrentIndex(mapping.UsesDebitCredit() ? 1 : 0);
  SelectData(amountColumn_, mapping.amountColumn);
  SelectData(debitColumn_, mapping.debitColumn);
  SelectData(creditColumn_, mapping.creditColumn);
  negate_->setChecked(mapping.negate);
  SelectData(dateForm_, mapping.dateForm);
  decimal_->setCurrentIndex(mapping.decimalComma ? 1 : 0);
  const bool pair = mapping.UsesDebitCredit();
  amountColumn_->setEnabled(!pair);
  debitColumn_->setEnabled(pair);
  creditColumn_->setEnabled(pair);
  const QStringList choices = import_.DateFormChoices();
  QStringList examples;
  for (const QString &form : choices)
    examples.append(DateFormExample(form));
  dateNote_->setText(choices.size() > 1
                         ? QStringLiteral("日期有歧义，可选：%1")
                               .arg(examples.join(QStringLiteral("、")))
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
    if (fieldSources_[i] && fieldSources_[i]->currentData() != kTaken)
      mapping.Map(columns.At(i).fieldName,
                  fieldSources_[i]->currentData().toString());
  mapping.amountField = amountField_->currentData().toString();
  const bool pair = amountMode_->currentIndex() == 1;
  mapping.amountColumn = pair ? QString() : amountColumn_->currentData().toString();
  mapping.debitColumn = pair ? debitColumn_->currentData().toString() : QString();
  mapping.creditColumn =
      pair ? creditColumn_->currentData().toString() : QString();
  mapping.negate = negate_->isChecked();
  mapping.dateForm = dateForm_->currentData().toString();
  mapping.decimalComma = decimal_->currentIndex() == 1;
  import_.SetGroupId(group_->currentData().toInt());
  amountColumn_->setEnabled(!pair);
  debitColumn_->setEnabled(pair);
  creditColumn_->setEnabled(pair);
  ScheduleCheck();
}

void ImportDialog::ScheduleCheck() { checkTimer_->start(); }

void ImportDialog::Recheck() {
  checkTimer_->stop();
  ExchangeProgressDialog progress(this,
                                  QStringLiteral("正在检查……已读 %1 行"));
  ImportCheck check;
  QString error;
  if (!import_.Check(&check, progress.Callback(), &error)) {
    summary_->setText(error);
    // Without a date or an amount nothing can be stored: the mapping is
    // where to say which columns give them.
    if (!import_.MappingProblem().isEmpty() && mappingToggle_)
      mappingToggle_->setChecked(true);
    return;
  }
  model_->SetCheck(std::move(check));
  ShowCheck();
}

bool ImportDialog::SaveAsLayout() {
  const std::optional<QString> name = CurrentPrompt().AskText(
      QStringLiteral("保存为账单格式"), {}, QString());
  if (!name || name->trimmed().isEmpty())
    return false;
  QString error;
  if (!import_.SaveAsLayout(*name, &error)) {
    ShowMessage(error);
    return false;
  }
  ShowMessage(QStringLiteral("已保存账单格式“%1”，以后这种对账单将自动识别。")
                  .arg(name->trimmed()));
  return true;
}

const ImportCheck &ImportDialog::LastCheck() const {
  static const ImportCheck none;
  return model_ ? model_->Preview().Check() : none;
}

void ImportDialog::ShowCheck() {
  summary_->setText(model_->Preview().CountsText());
  // The first lines are measured, not all of them; a record column is at
  // least as wide as in the records grid, the line numbers as the last.
  const ImportPreview &preview = model_->Preview();
  const QString lastLine =
      preview.RowCount() > 0
          ? QString::number(preview.Line(preview.RowCount() - 1).lineNumber)
          : QString();
  for (int column = 0; column < model_->columnCount(); ++column) {
    const int position = model_->PositionAt(column);
    table_->resizeColumnToContents(column);
    int width = table_->columnWidth(column);
    if (position >= 0)
      width = qMax(width, file_.Columns().At(position).width);
    else if (column == ImportPreviewModel::LineNumber)
      width = qMax(width, fontMetrics().horizontalAdvance(lastLine) + 12);
    // A long reason is cut (its whole text is its tip), so that the record
    // stays in view.
    else if (column == ImportPreviewModel::Reason)
      width = qMin(width, fontMetrics().horizontalAdvance(QString(12, QChar(0x6C49))));
    table_->setColumnWidth(column, width);
  }
  UpdateRememberButton();
}

bool ImportDialog::CurrentCellRemembers() const {
  const QModelIndex index = table_->currentIndex();
  if (!index.isValid())
    return false;
  const int position = model_->PositionAt(index.column());
  return position >= 0 && file_.Columns().Type(position) == FT_OPTION &&
         model_->Preview().Edited(index.row(), position);
}

void ImportDialog::UpdateRememberButton() {
  const bool on = CurrentCellRemembers();
  remember_->setEnabled(on);
  for (QAction *action : table_->actions())
    action->setEnabled(on);
}

bool ImportDialog::RememberCategory() {
  if (!CurrentCellRemembers()) {
    ShowMessage(QStringLiteral("请先修改一行的可选型单元格（如类别），再记住此分类"));
    return false;
  }
  const QModelIndex index = table_->currentIndex();
  const int position = model_->PositionAt(index.column());
  const CheckedLine &checked = model_->Preview().Line(index.row());
  const int lineNumber = checked.lineNumber;
  const QString value = checked.texts.value(position);
  SourceLine line;
  QString error;
  if (!import_.ReadLine(lineNumber, &line, &error)) {
    ShowMessage(error);
    return false;
  }
  ImportRule rule;
  if (!RuleFromChangedCell(import_.Headers(), line, import_.Mapping(),
                           file_.Columns(), position, value, &rule)) {
    ShowMessage(QStringLiteral("第%1行没有交易对方或文字，无法生成规则")
                    .arg(lineNumber));
    return false;
  }
  if (!RememberImportRule(file_, rule))
    return false;
  // The other lines the rule matches take its value.
  import_.SetRules(ImportRules(LoadImportRules(file_)));
  Recheck();
  table_->setCurrentIndex(model_->index(index.row(), index.column()));
  return true;
}

// Space ticks or unticks the current line from any of its cells (an open
// cell editor gets its keys itself).
bool ImportDialog::eventFilter(QObject *watched, QEvent *event) {
  if (watched != table_ || event->type() != QEvent::KeyPress ||
      static_cast<QKeyEvent *>(event)->key() != Qt::Key_Space)
    return QDialog::eventFilter(watched, event);
  const QModelIndex index = table_->currentIndex();
  if (!index.isValid())
    return false;
  const CheckedLine &line = model_->Preview().Line(index.row());
  model_->SetTicked(index.row(), !line.ticked);
  return true;
}

void ImportDialog::accept() {
  if (checkTimer_->isActive())
    Recheck();
  const ImportCheck &check = LastCheck();
  const QSet<int> ticked = model_->Preview().TickedLines();
  if (ticked.isEmpty()) {
    ShowMessage(QStringLiteral("没有可导入的行！"));
    return;
  }
  ExchangeProgressDialog progress(this,
                                  QStringLiteral("正在导入……已读 %1 行"));
  bool cancelled = false;
  QString error;
  const int stored = import_.Store(check, ticked, progress.Callback(),
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
