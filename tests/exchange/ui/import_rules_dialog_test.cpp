// The import rules dialog driven as a user does: a rule added through its
// edit dialog (one that does not fit refused there), moved, deleted after
// the question; a file opened for viewing offers no changes.
#include "exchange/ui/import_rules_dialog.h"

#include "../exchange_test_file.h"
#include "exchange/import_rule_store.h"
#include "exchange/ui/import_rule_edit_dialog.h"
#include "window/dialog_runner.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <functional>

namespace {

template <class T> T *Named(QWidget &parent, const QString &name) {
  for (T *child : parent.findChildren<T *>())
    if (child->accessibleName() == name)
      return child;
  return nullptr;
}

// Fills each dialog in through fill, then accepts it as "确定" would.
class FillingRunner : public DialogRunner {
public:
  std::function<void(QDialog &)> fill;
  bool Run(QDialog &dialog) override {
    fill(dialog);
    dialog.accept();
    return dialog.result() == QDialog::Accepted;
  }
};

QStringList Shown(QTableWidget &table) {
  QStringList rows;
  for (int row = 0; row < table.rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < table.columnCount(); ++column)
      cells.append(table.item(row, column)->text());
    rows.append(cells.join('|'));
  }
  return rows;
}

} // namespace

TEST_F(ExchangeTest, RulesDialogAddsMovesAndDeletes) {
  ImportRule first;
  first.source = "交易对方";
  first.text = "滴滴";
  first.field = "Category";
  first.value = "交通";
  ASSERT_TRUE(AddImportRule(file_, first));

  FillingRunner runner;
  SetDialogRunner(&runner);
  QString value = "飞机";
  runner.fill = [&](QDialog &dialog) {
    Named<QComboBox>(dialog, "对账单的列")->setCurrentText("商品");
    Named<QComboBox>(dialog, "条件")->setCurrentIndex(2);
    Named<QLineEdit>(dialog, "文字")->setText("O'Brien");
    auto *field = Named<QComboBox>(dialog, "设置列");
    field->setCurrentIndex(field->findText("类别"));
    Named<QComboBox>(dialog, "值")->setCurrentText(value);
  };
  ImportRulesDialog dialog(file_);
  auto *table = Named<QTableWidget>(dialog, "导入规则");
  ASSERT_TRUE(table);
  // Not an option of 类别: the edit dialog says so and nothing is added.
  Named<QPushButton>(dialog, "添加")->click();
  EXPECT_EQ(prompt_.Texts(), QStringList{"“类别”没有选项“飞机”"});
  EXPECT_EQ(table->rowCount(), 1);
  value = "餐饮";
  Named<QPushButton>(dialog, "添加")->click();
  EXPECT_EQ(Shown(*table), (QStringList{"1|交易对方 包含 “滴滴”|类别 = 交通|0",
                                        "2|商品 开头是 “O'Brien”|类别 = 餐饮|0"}));
  EXPECT_EQ(dialog.SelectedNumber(), 2);

  Named<QPushButton>(dialog, "上移")->click();
  EXPECT_EQ(dialog.SelectedNumber(), 1);
  EXPECT_EQ(LoadImportRules(file_).value(0).text, "O'Brien");
  prompt_.QueueAnswer(1);
  Named<QPushButton>(dialog, "删除")->click();
  EXPECT_EQ(Shown(*table), QStringList{"1|交易对方 包含 “滴滴”|类别 = 交通|0"});
  SetDialogRunner(nullptr);

  // Viewing: the rules show, the buttons that change them are off.
  const QString path = file_.Path();
  file_.Close();
  AccountFile viewer;
  ASSERT_TRUE(viewer.OpenAccountFile(path, AccountFile::ForReading));
  ImportRulesDialog view(viewer);
  EXPECT_EQ(Named<QTableWidget>(view, "导入规则")->rowCount(), 1);
  for (const char *name : {"添加", "编辑", "上移", "下移", "删除"})
    EXPECT_FALSE(Named<QPushButton>(view, name)->isEnabled()) << name;
}
