// The template commands of the panes with a property grid.
#include "window/sorvan_memory_pane.h"

#include "window/pane_tool_bar.h"
#include "base/prompt.h"
#include "document/account_file.h"
#include "widgets/property_grid.h"

#include <QAction>
#include <QComboBox>

CSorvanMemoryPane::CSorvanMemoryPane(DocumentWindow *window, PropertyGrid *grid,
                                     QWidget *parent)
    : CSorvanBasePane(window, parent), grid_(grid),
      templateBox_(new QComboBox) {
  SetContent(grid_);

  templateBox_->setFixedWidth(100);
  templateBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ToolBar()->AddWidget(ID_TEMPLATE_BOX, templateBox_,
                       QStringLiteral("选择一个预定义模板\n选择一个预定义模板"));
  connect(templateBox_, &QComboBox::activated, this,
          [this](int index) { ChooseTemplate(index); });
  connect(ToolBar()->AddCommand(ID_SAVE_TEMPLATE,
                                QStringLiteral("保存为预定义模板\n保存模板")),
          &QAction::triggered, this, [this] { SaveTemplate(); });
  connect(ToolBar()->AddCommand(ID_DELETE_TEMPLATE,
                                QStringLiteral("删除当前模板\n删除模板")),
          &QAction::triggered, this, [this] { DeleteTemplate(); });
  AddUpdateCommands();
}

void CSorvanMemoryPane::ApplyTemplate(const FilterSet &set) {
  LoadTemplate(set);
}

void CSorvanMemoryPane::FillBox(int selected) {
  const QSignalBlocker blocker(templateBox_);
  templateBox_->clear();
  templateBox_->addItems(templates_.Titles());
  templateBox_->setCurrentIndex(selected);
}

void CSorvanMemoryPane::ReloadTemplates() {
  templates_.SetClassId(GetPaneKind());
  AccountFile *file = File();
  templates_.Reload(file ? file->Session() : nullptr);
  FillBox(templates_.Size() > 0 ? 0 : -1);
  if (templates_.Size() > 0)
    LoadTemplate(templates_.At(0));
}

void CSorvanMemoryPane::ChooseTemplate(int index) {
  if (index < 0 || index >= templates_.Size())
    return;
  ApplyTemplate(templates_.At(index));
}

void CSorvanMemoryPane::SaveTemplate() {
  AccountFile *file = File();
  if (!file || !file->Session() || file->RefuseChange())
    return;
  const int selected = templateBox_->currentIndex();
  const QString start =
      selected >= 0 && selected < templates_.Size() ? templates_.At(selected).title
                                                    : QString();
  const std::optional<QString> name = CurrentPrompt().AskText(
      QStringLiteral("输入模板名称"), templates_.Titles(), start);
  if (!name || name->isEmpty())
    return;
  const int saved = templates_.Save(*file->Session(), *name, GridToConditions());
  if (saved < 0)
    return; // the session reported why; box and list stay as they were
  FillBox(saved);
}

void CSorvanMemoryPane::DeleteTemplate() {
  const int selected = templateBox_->currentIndex();
  AccountFile *file = File();
  if (selected < 0 || selected >= templates_.Size() || !file ||
      !file->Session() || file->RefuseChange())
    return;
  const QString question = QStringLiteral("确定删除模板【%1】么？")
                               .arg(templates_.At(selected).title);
  if (!CurrentPrompt().AskYesNo(question))
    return;
  if (!templates_.Remove(*file->Session(), selected))
    return;
  FillBox(templates_.Size() > 0 ? 0 : -1);
  if (templates_.Size() > 0)
    ApplyTemplate(templates_.At(0));
}
