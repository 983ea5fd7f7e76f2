// Showing and editing the column definitions of the "配置" page.
#include "app/options/option_grid_ctrl.h"

#include "base/prompt.h"
#include "model/field_type.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>

namespace {

const QString kGroupField = QStringLiteral("trelva_Group_ID");
const ColorRef kRowTint = 0x00FCAB8F;

QString Flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

bool IsInteger(const QString &text) {
  bool ok = false;
  text.trimmed().toInt(&ok);
  return ok;
}

// Type changes that keep every stored value: to text or memo, within the
// texts, integer to float, and a date or time into date-and-time.
bool KeepsValues(int from, int to) {
  if (from == to || to == FT_TEXT || to == FT_MEMO)
    return true;
  if (IsTextType(from) && IsTextType(to))
    return true;
  if (from == FT_INTEGER && to == FT_FLOAT)
    return true;
  if ((from == FT_DATE || from == FT_TIME || from == FT_AUTODATE ||
       from == FT_AUTOTIME) &&
      to == FT_DATETIME)
    return true;
  if ((from == FT_AUTODATE && to == FT_DATE) ||
      (from == FT_DATE && to == FT_AUTODATE) ||
      (from == FT_AUTOTIME && to == FT_TIME) ||
      (from == FT_TIME && to == FT_AUTOTIME))
    return true;
  return false;
}

} // namespace

QString COptionGridCtrl::GeneralHelp() {
  return QStringLiteral("上表是主视表列信息的定义，在此定制您自己的记账簿！");
}

QString COptionGridCtrl::HelpText(int col) {
  switch (col) {
  case kOrder:
    return QStringLiteral("编号指定列在主视表中的显示顺序。");
  case kField:
    return QStringLiteral(
        "每个列对应一个字段名，字段名必须是互异的，字段名组合成的表达式可以作"
        "为其它列的默认值以实现列之间的数值关联。");
  case kTitle:
    return QStringLiteral("标题显示在主视表中每一列的顶部。");
  case kEnabled:
    return QStringLiteral("只有启用的列才会在主视表中显示。");
  case kType:
    return QStringLiteral("指定列的类型。");
  case kReadOnly:
    return QStringLiteral("只读的列不允许编辑。");
  case kWidth:
    return QStringLiteral(
        "在非“适应窗体宽度模式”下，主视表中列的宽度在此指定。");
  case kDefault:
    return QStringLiteral(
        "每一列都可以有一个默认值，默认值可以是具体的值也可以是其它列字段名"
        "组成的表达式\t例如：“Amount*Count”代表此列默认取“Amount”列和“Count"
        "”列的乘积。");
  default:
    return GeneralHelp();
  }
}

bool COptionGridCtrl::Load(CDBVisiter &session) {
  BeginUpdate();
  SetNumberRows(0);
  SetNumberCols(kColumnCount);
  optionId_ = -1;
  modified_ = false;
  const QStringList headers = {
      QStringLiteral("ID"),   QStringLiteral("编号"), QStringLiteral("字段名"),
      QStringLiteral("标题"), QStringLiteral("启用"), QStringLiteral("数据类型"),
      QStringLiteral("只读"), QStringLiteral("宽度"), QStringLiteral("默认值")};
  const int widths[kColumnCount] = {44, 48, 110, 100, 44, 96, 44, 52, 150};
  for (int col = 0; col < kColumnCount; ++col) {
    SetColLabelText(col, headers[col]);
    QuickSetText(col, -1, headers[col]);
    SetColWidth(col, widths[col]);
  }
  SetSH_Width(16);
  const bool ok = pending_.Load(session);
  for (const ColumnDef &def : pending_.Loaded())
    AddRow(def);
  AppendMarkerRow();
  EndUpdate();
  return ok;
}

void COptionGridCtrl::AddRow(const ColumnDef &def) {
  const int row = GetNumberRows();
  AppendRow();
  // The first text is the row heading's.
  SetRowTexts(row, {QString(), QString::number(def.id), QString::number(def.order),
                    def.fieldName, def.title, Flag(def.enabled),
                    FieldTypeName(def.type), Flag(def.readOnly),
                    QString::number(def.width), def.defaultValue});
  FormatRow(row);
}

void COptionGridCtrl::AppendMarkerRow() {
  const int row = GetNumberRows();
  AppendRow();
  SetRowTexts(row, {QString(), QStringLiteral("*"), QString(), QString(), QString(),
                    Flag(false), QString(), Flag(false), QString(), QString()});
  FormatRow(row);
}

void COptionGridCtrl::FormatRow(int row) {
  SetRowBackColor(row, kRowTint);
  SetReadOnly(kId, row, true);
  SetCellType(kEnabled, row, CT_CHECKBOX);
  SetCellType(kReadOnly, row, CT_CHECKBOX);
  SetCellType(kType, row, CT_DROPLIST);
  SetLabelText(kType, row, FieldTypeNames().join(QLatin1Char('\n')));
}

bool COptionGridCtrl::RowDefinition(int row, ColumnDef &def) const {
  if (row < 0 || row >= MarkerRow())
    return false;
  const ColumnDef *found = pending_.Find(QuickGetText(kId, row).toInt());
  if (!found)
    return false;
  def = *found;
  return true;
}

int COptionGridCtrl::TypeRow(const QString &typeName) const {
  for (int row = 0; row < MarkerRow(); ++row)
    if (QuickGetText(kType, row) == typeName)
      return row;
  return -1;
}

bool COptionGridCtrl::LosesValues(int row, int newType) {
  ColumnDef def;
  if (!valueCounter_ || !RowDefinition(row, def))
    return false;
  // Only columns already in the file hold values.
  if (!pending_.IsStored(def.id) || KeepsValues(def.type, newType))
    return false;
  const int count = valueCounter_(def.fieldName);
  if (count <= 0)
    return false;
  return !CurrentPrompt().AskYesNo(
      QStringLiteral("列“%1”中已有%2条数据，由“%3”改为“%4”可能丢失数据！\r\n是否继续？")
          .arg(def.fieldName)
          .arg(count)
          .arg(FieldTypeName(def.type), FieldTypeName(newType)));
}

bool COptionGridCtrl::CheckEdit(int col, int row, const QString &text) {
  const QString old = QuickGetText(col, row);
  const int id = QuickGetText(kId, row).toInt();
  const bool newRow =
      QuickGetText(kId, row) == QStringLiteral("*") || pending_.IsAdded(id);
  if (text.compare(kGroupField, Qt::CaseInsensitive) == 0) {
    ShowMessage(QStringLiteral("不能使用此字段名！"));
    return false;
  }
  if (col == kField && !newRow) {
    ShowMessage(QStringLiteral("不能更改已经存在的字段名！"));
    return false;
  }
  if (col == kField) {
    if (text.trimmed().isEmpty()) {
      ShowMessage(QStringLiteral("字段名不能为空！"));
      return false;
    }
    if (text.contains(QLatin1Char(']'))) {
      ShowMessage(QStringLiteral("字段名中不能有“]”！"));
      return false;
    }
    for (int other = 0; other < MarkerRow(); ++other)
      if (other != row &&
          QuickGetText(kField, other).compare(text, Qt::CaseInsensitive) == 0) {
        ShowMessage(QStringLiteral("字段名不能重复！"));
        return false;
      }
    for (const ColumnDef &d : pending_.Deleted())
      if (d.fieldName.compare(text, Qt::CaseInsensitive) == 0) {
        ShowMessage(QStringLiteral("字段名不能重复！"));
        return false;
      }
  }
  if (col == kType) {
    if (old == FieldTypeName(FT_KEY)) {
      ShowMessage(QStringLiteral("暂不支持主键类型的修改！"));
      return false;
    }
    if (text == FieldTypeName(FT_KEY) && TypeRow(text) >= 0) {
      ShowMessage(QStringLiteral("只能有一个主键！"));
      return false;
    }
    const int type = int(FieldTypeNames().indexOf(text));
    if (type < 0)
      return false;
    if (LosesValues(row, type))
      return false;
  }
  if ((col == kOrder || col == kWidth) && !IsInteger(text)) {
    ShowMessage(QStringLiteral("请输入一个整数！"));
    return false;
  }
  return true;
}

void COptionGridCtrl::OnCellValueChanged(int col, int row, const QString &text) {
  if (row < 0 || row >= GetNumberRows() || col <= kId || col >= kColumnCount)
    return;
  if (QuickGetText(col, row) == text)
    return;
  if (!CheckEdit(col, row, text)) {
    RedrawCell(col, row);
    return;
  }
  QuickSetText(col, row, text);
  RecordRow(row);
  if (col == kType)
    SelectOptionRow(row);
}

void COptionGridCtrl::OnCheckChanged(int col, int row, bool checked) {
  if (row < 0 || row >= GetNumberRows())
    return;
  if (col == kEnabled && !checked &&
      QuickGetText(kType, row) == FieldTypeName(FT_KEY)) {
    QuickSetText(col, row, Flag(true));
    RedrawCell(col, row);
    ShowMessage(QStringLiteral("主键必须启用！"));
    return;
  }
  if (QuickGetText(col, row) == Flag(checked))
    return;
  QuickSetText(col, row, Flag(checked));
  RecordRow(row);
}

void COptionGridCtrl::RecordRow(int row) {
  modified_ = true;
  if (QuickGetText(kId, row) == QStringLiteral("*")) {
    const int id = pending_.NextId();
    QuickSetText(kId, row, QString::number(id));
    if (QuickGetText(kType, row).isEmpty())
      QuickSetText(kType, row, FieldTypeName(FT_INTEGER));
    // A new column comes after the others; with an empty 编号 it would sort
    // first and take the key's place as the row heading.
    if (QuickGetText(kOrder, row).isEmpty())
      QuickSetText(kOrder, row, QString::number(LargestOrder() + 1));
    QuickSetText(kEnabled, row, Flag(true));
    ColumnDef def;
    def.id = id;
    def.order = QuickGetText(kOrder, row).toInt();
    def.fieldName = QuickGetText(kField, row);
    def.title = QuickGetText(kTitle, row);
    def.enabled = true;
    def.type = int(FieldTypeNames().indexOf(QuickGetText(kType, row)));
    def.readOnly = QuickGetText(kReadOnly, row) == Flag(true);
    def.width = ReadableWidth(row);
    def.defaultValue = QuickGetText(kDefault, row);
    pending_.Add(def);
    AppendMarkerRow();
    return;
  }
  const int id = QuickGetText(kId, row).toInt();
  const bool added = pending_.IsAdded(id);
  ColumnDef *def = pending_.Change(id);
  if (!def)
    return;
  def->order = QuickGetText(kOrder, row).toInt();
  def->fieldName = QuickGetText(kField, row);
  def->title = QuickGetText(kTitle, row);
  def->enabled = QuickGetText(kEnabled, row) == Flag(true);
  def->type = int(FieldTypeNames().indexOf(QuickGetText(kType, row)));
  def->readOnly = QuickGetText(kReadOnly, row) == Flag(true);
  def->width = added ? ReadableWidth(row) : QuickGetText(kWidth, row).toInt();
  def->defaultValue = QuickGetText(kDefault, row);
}

int COptionGridCtrl::LargestOrder() const {
  int largest = 0;
  for (int row = 0; row < MarkerRow(); ++row)
    largest = std::max(largest, QuickGetText(kOrder, row).toInt());
  return largest;
}

int COptionGridCtrl::ReadableWidth(int row) const {
  // A width the user gave stands; else the column is as wide as its
  // caption, and never narrower than a few digits.
  if (QuickGetText(kWidth, row).toInt() > 0)
    return QuickGetText(kWidth, row).toInt();
  const QString caption = QuickGetText(kTitle, row).isEmpty() ? QuickGetText(kField, row)
                                                               : QuickGetText(kTitle, row);
  constexpr int kPadding = 16;
  constexpr int kNarrowest = 50;
  return std::max(kNarrowest,
                  QFontMetrics(QApplication::font()).horizontalAdvance(caption) + kPadding);
}

void COptionGridCtrl::TellOptions() {
  if (optionsChanged)
    optionsChanged();
}

void COptionGridCtrl::SelectOptionRow(int row) {
  optionId_ = -1;
  ColumnDef def;
  if (RowDefinition(row, def) && QuickGetText(kType, row) == FieldTypeName(FT_OPTION))
    optionId_ = def.id;
  TellOptions();
}

QStringList COptionGridCtrl::OptionValues() const {
  const ColumnDef *def = optionId_ < 0 ? nullptr : pending_.Find(optionId_);
  return def ? SplitChoices(def->options) : QStringList();
}

bool COptionGridCtrl::AddOption(const QString &text) {
  QStringList values = OptionValues();
  if (optionId_ < 0 || text.isEmpty() || values.contains(text))
    return false;
  values.append(text);
  return SetOptions(values);
}

bool COptionGridCtrl::DeleteOption(int index) {
  QStringList values = OptionValues();
  if (optionId_ < 0 || index < 0 || index >= values.size())
    return false;
  values.removeAt(index);
  return SetOptions(values);
}

bool COptionGridCtrl::SetOptions(const QStringList &values) {
  ColumnDef *def = pending_.Change(optionId_);
  if (!def)
    return false;
  def->options = values.join(QLatin1Char('|'));
  modified_ = true;
  TellOptions();
  return true;
}

bool COptionGridCtrl::DeleteRows(QList<int> rows) {
  rows.removeIf([this](int row) { return row < 0 || row >= MarkerRow(); });
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows.isEmpty())
    return false;
  for (int row : rows)
    if (QuickGetText(kType, row) == FieldTypeName(FT_KEY)) {
      ShowMessage(QStringLiteral("暂不支持主键类型的修改！"));
      return false;
    }
  if (!CurrentPrompt().AskYesNo(
          QStringLiteral("准备删除%1列数据！").arg(rows.size())))
    return false;
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    pending_.Delete(QuickGetText(kId, *it).toInt());
    DeleteRow(*it);
  }
  modified_ = true;
  optionId_ = -1;
  ClearSelections();
  TellOptions();
  return true;
}

void COptionGridCtrl::OnLClicked(int col, int row) {
  if (row >= 0 && cellClicked)
    cellClicked(col);
}

void COptionGridCtrl::OnRClicked(int col, int row, const QPoint &globalPos) {
  if (row < 0 || col < 0)
    return;
  // A right click outside the selection first selects the clicked cell.
  if (!IsSelected(col, row)) {
    ClearSelections();
    GotoCell(col, row);
  }
  if (menuAsked)
    menuAsked(globalPos);
}

void COptionGridCtrl::OnSelectionChanged() {
  const int row = GetCurrentRow();
  if (row < 0)
    return;
  ColumnDef def;
  const int id = RowDefinition(row, def) ? def.id : -1;
  if (id == optionId_ && (id < 0) == (QuickGetText(kType, row) != FieldTypeName(FT_OPTION)))
    return;
  SelectOptionRow(row);
}

QList<int> COptionGridCtrl::SelectedRows() const {
  QList<int> rows;
  for (const CellRange &range : EffectiveSelection())
    for (int row = range.firstRow; row <= range.lastRow; ++row)
      if (!rows.contains(row))
        rows.append(row);
  std::sort(rows.begin(), rows.end());
  return rows;
}
