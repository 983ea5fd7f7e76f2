// The import dialog driven as a user does: the statement read and mapped,
// every line shown with its state, a change of the date form re-checked,
// cells changed and lines ticked before "导入" stores them, a rule made of a
// changed cell; and chart pictures in the three formats.
#include "window/chart_image.h"
#include "exchange/ui/import_dialog.h"

#include "exchange/import_rule_store.h"

#include "../bill_samples.h"
#include "../exchange_test_file.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

namespace {

template <class T> T *Named(QWidget &parent, const QString &name) {
  for (T *child : parent.findChildren<T *>())
    if (child->accessibleName() == name || child->property("text") == name)
      return child;
  return nullptr;
}

// The table of the dialog's lines.
QTableView *Table(QWidget &dialog) { return Named<QTableView>(dialog, "预览"); }

// The index of the table's row at the column headed caption.
QModelIndex Cell(QTableView *table, int row, const QString &caption) {
  const QAbstractItemModel *model = table->model();
  for (int column = 0; column < model->columnCount(); ++column)
    if (model->headerData(column, Qt::Horizontal).toString() == caption)
      return model->index(row, column);
  return {};
}

QString Text(QTableView *table, int row, const QString &caption) {
  return Cell(table, row, caption).data().toString();
}

// The row of the table showing line lineNumber of the statement.
int RowOf(QTableView *table, int lineNumber) {
  for (int row = 0; row < table->model()->rowCount(); ++row)
    if (Text(table, row, "行").toInt() == lineNumber)
      return row;
  return -1;
}

bool Ticked(QTableView *table, int row) {
  return Cell(table, row, "导入").data(Qt::CheckStateRole).toInt() ==
         Qt::Checked;
}

} // namespace

TEST_F(ExchangeTest, ImportDialogPreviewsChecksAndStores) {
  ImportDialog dialog(file_, 3);
  ASSERT_TRUE(dialog.OpenStatement(Data("gb18030_debit_credit.csv")));
  dialog.show();
  QTableView *preview = Table(dialog);
  ASSERT_TRUE(preview);
  ASSERT_EQ(preview->model()->rowCount(), 3);
  // Line number, then the columns as stored: Data, ... Item.
  EXPECT_EQ(Text(preview, 0, "行"), "4");
  EXPECT_EQ(Text(preview, 0, "日期"), "2024/1/5");
  EXPECT_EQ(dialog.LastCheck().good, 3);
  auto *summary = dialog.findChildren<QLabel *>().last();
  (void)summary;
  auto *group = Named<QComboBox>(dialog, "目标分组");
  ASSERT_TRUE(group);
  EXPECT_EQ(group->currentData().toInt(), 3);

  // A wrong date form makes every line bad, and the table says why.
  auto *dateForm = Named<QComboBox>(dialog, "日期格式");
  ASSERT_TRUE(dateForm);
  // The forms are offered as dates look in them.
  EXPECT_EQ(dateForm->currentText(), "2024/3/5");
  dateForm->setCurrentText("2024-03-05");
  dialog.Recheck();
  EXPECT_EQ(dialog.LastCheck().bad.size(), 3);
  EXPECT_EQ(Text(preview, 0, "状态"), "错误");
  EXPECT_EQ(Text(preview, 0, "原因"), "日期无法识别：2024/1/5");
  dateForm->setCurrentText("2024/3/5");
  dialog.Recheck();
  EXPECT_TRUE(dialog.LastCheck().bad.isEmpty());

  // A screen reader hears each box by its label; its value is its value.
  for (QComboBox *box : dialog.findChildren<QComboBox *>()) {
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(box);
    ASSERT_TRUE(accessible);
    EXPECT_FALSE(box->accessibleName().isEmpty());
    EXPECT_EQ(accessible->text(QAccessible::Name), box->accessibleName());
    EXPECT_EQ(accessible->text(QAccessible::Value), box->currentText());
  }

  auto *importButton = Named<QPushButton>(dialog, "导入");
  ASSERT_TRUE(importButton);
  QTest::mouseClick(importButton, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.StoredCount(), 3);
  EXPECT_EQ(Records(file_, 3).size(), 3);
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
}

TEST_F(ExchangeTest, ImportDialogLeavesOutDuplicatesUnlessTicked) {
  for (int round = 0; round < 2; ++round) {
    ImportDialog dialog(file_, 4);
    ASSERT_TRUE(dialog.OpenStatement(Data("gb18030_debit_credit.csv")));
    if (round == 0) {
      dialog.accept();
      continue;
    }
    EXPECT_EQ(dialog.LastCheck().duplicateLines, (QList<int>{4, 5, 6}));
    QTableView *table = Table(dialog);
    ASSERT_TRUE(table);
    EXPECT_EQ(Text(table, 1, "状态"), "重复");
    EXPECT_FALSE(Ticked(table, 1));
    table->model()->setData(Cell(table, 1, "导入"), Qt::Checked,
                            Qt::CheckStateRole);
    dialog.accept();
    EXPECT_EQ(dialog.StoredCount(), 1);
  }
  EXPECT_EQ(Records(file_, 4).size(), 4);
}

// A bill names itself with its holder; the lines it does not import are
// listed with their reasons, and a ticked one goes in all the same.
TEST_F(ExchangeTest, ImportDialogListsABillsLinesNotImported) {
  const QString bill = WriteFile(
      "wechat.csv",
      WeChatBill({"2024-03-02 12:00:00,商户消费,美团,午餐,支出,¥32.00,零钱,"
                  "支付成功,4200001\t,M1\t,/",
                  "2024-03-03 12:00:00,商户消费,超市,水果,支出,¥80.00,零钱,"
                  "已退款(¥30.00),4200002\t,M2\t,/",
                  "2024-03-04 12:00:00,超市-退款,超市,水果,收入,¥30.00,零钱,"
                  "已退款,5000002\t,M2\t,/",
                  "2024-03-05 12:00:00,转账,张三,/,/,¥100.00,零钱,已转账,"
                  "4200003\t,/,/"}));
  ImportDialog dialog(file_, 5);
  ASSERT_TRUE(dialog.OpenStatement(bill));
  EXPECT_TRUE(Named<QLabel>(dialog, "微信支付账单：小明，2024-03-01 00:00:00 至 "
                                    "2024-03-31 23:59:59"));
  QTableView *table = Table(dialog);
  ASSERT_TRUE(table);
  const int income = RowOf(table, 12), neutral = RowOf(table, 13);
  EXPECT_FALSE(Ticked(table, income));
  EXPECT_EQ(Text(table, income, "原因"), "账簿没有收支列");
  EXPECT_FALSE(Ticked(table, neutral));
  EXPECT_EQ(Text(table, neutral, "原因"), "不计收支");
  auto *cancel = Named<QCheckBox>(dialog, "退款抵消付款");
  ASSERT_TRUE(cancel);
  cancel->setChecked(true);
  dialog.Recheck();
  EXPECT_EQ(Text(table, income, "状态"), "跳过");
  EXPECT_EQ(Text(table, income, "原因"), "与第11行的付款相抵");
  // Space on any cell of a line ticks it.
  table->setCurrentIndex(Cell(table, neutral, "原因"));
  QTest::keyClick(table, Qt::Key_Space);
  EXPECT_TRUE(Ticked(table, neutral));
  dialog.accept();
  EXPECT_EQ(dialog.StoredCount(), 3);
  EXPECT_EQ(Rows(file_, "Select Amount From Users Where trelva_Group_ID=5 "
                        "Order By ID"),
            (QStringList{"-32", "-50", "100"}));
}

// An Alipay bill in the household ledger: its lines counted by state, a
// skipped line ticked, a cell refused and a cell changed, and what is stored
// is what the table showed.
TEST_F(ExchangeTest, ImportDialogStoresTheLinesTickedAsEdited) {
  const QString bill = WriteFile(
      "alipay.csv",
      AlipayAppBill(
          {"2024-03-05 12:30:45,交通出行,滴滴出行,,快车订单,支出,25.50,花呗,"
           "交易成功,2024030522001100001\t,T1\t,,",
           "2024-03-06 09:00:00,日用百货,超市甲,,洗衣液,支出,55.00,余额宝,"
           "交易关闭,2024030622001100002\t,T2\t,,",
           "2024-03-07 18:20:00,餐饮美食,面馆,,牛肉面,支出,18.00,余额宝,"
           "交易成功,2024030722001100003\t,T3\t,,"}));
  ImportDialog dialog(file_, 3);
  ASSERT_TRUE(dialog.OpenStatement(bill));
  QTableView *table = Table(dialog);
  ASSERT_TRUE(table);
  EXPECT_TRUE(Named<QLabel>(dialog, "新 2，重复 0，跳过 1，错误 0，将导入 2"));
  EXPECT_EQ(Text(table, 1, "状态"), "跳过");
  EXPECT_EQ(Text(table, 1, "原因"), "交易关闭");
  QAbstractItemModel *model = table->model();
  model->setData(Cell(table, 1, "导入"), Qt::Checked, Qt::CheckStateRole);
  EXPECT_TRUE(Named<QLabel>(dialog, "新 2，重复 0，跳过 1，错误 0，将导入 3"));

  // A refused text keeps the cell and says why, as the records grid does.
  EXPECT_FALSE(model->setData(Cell(table, 0, "单价"), "abc", Qt::EditRole));
  EXPECT_EQ(prompt_.Last(), "单价：abc 不是数字");
  EXPECT_EQ(Text(table, 0, "单价"), "-25.5");
  ASSERT_TRUE(model->setData(Cell(table, 2, "类别"), "餐饮", Qt::EditRole));
  ASSERT_TRUE(model->setData(Cell(table, 2, "备注"), "O'Brien 的面", Qt::EditRole));
  EXPECT_EQ(Text(table, 2, "备注"), "O'Brien 的面");

  dialog.accept();
  EXPECT_EQ(dialog.StoredCount(), 3);
  EXPECT_EQ(Rows(file_, "Select Amount, Category, Memo From Users Where "
                        "trelva_Group_ID=3 Order By ID"),
            (QStringList{"-25.5|其他|快车订单", "-55|其他|洗衣液",
                         "-18|餐饮|O'Brien 的面"}));
}

// "记住此分类" on a changed 类别 makes a rule of the line's counterparty; the
// other lines of that counterparty take the value in the rules' colour.
TEST_F(ExchangeTest, ImportDialogRemembersAChangedCategory) {
  const QString bill = WriteFile(
      "alipay.csv",
      AlipayAppBill(
          {"2024-03-05 12:30:45,交通出行,滴滴出行,,快车订单,支出,25.50,花呗,"
           "交易成功,2024030522001100001\t,T1\t,,",
           "2024-03-06 09:00:00,交通出行,滴滴出行,,专车订单,支出,40.00,花呗,"
           "交易成功,2024030622001100002\t,T2\t,,",
           "2024-03-07 18:20:00,餐饮美食,面馆,,牛肉面,支出,18.00,余额宝,"
           "交易成功,2024030722001100003\t,T3\t,,"}));
  ImportDialog dialog(file_, 3);
  ASSERT_TRUE(dialog.OpenStatement(bill));
  QTableView *table = Table(dialog);
  ASSERT_TRUE(table);
  auto *remember = Named<QPushButton>(dialog, "记住此分类");
  ASSERT_TRUE(remember);
  table->setCurrentIndex(Cell(table, 0, "类别"));
  EXPECT_FALSE(remember->isEnabled()); // not changed yet
  ASSERT_TRUE(table->model()->setData(Cell(table, 0, "类别"), "交通",
                                      Qt::EditRole));
  ASSERT_TRUE(remember->isEnabled());
  QTest::mouseClick(remember, Qt::LeftButton);
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));

  const QList<ImportRule> rules = LoadImportRules(file_);
  ASSERT_EQ(rules.size(), 1);
  EXPECT_EQ(RuleConditionText(rules[0]), "交易对方 等于 “滴滴出行”");
  EXPECT_EQ(RuleSettingText(file_.Columns(), rules[0]), "类别 = 交通");
  EXPECT_EQ(Text(table, 1, "类别"), "交通");
  EXPECT_TRUE(Cell(table, 1, "类别").data(Qt::ForegroundRole).isValid());
  EXPECT_EQ(Text(table, 2, "类别"), "其他");
  EXPECT_FALSE(Cell(table, 2, "类别").data(Qt::ForegroundRole).isValid());
  dialog.accept();
  EXPECT_EQ(Rows(file_, "Select Category From Users Where trelva_Group_ID=3 "
                        "Order By ID"),
            (QStringList{"交通", "交通", "其他"}));
}

TEST_F(ExchangeTest, ImportDialogReadsAnXlsxBillWithoutCsvSettings) {
  ImportDialog dialog(file_, 3);
  ASSERT_TRUE(dialog.OpenStatement(WriteXlsxBill("bill.xlsx")));
  auto *encoding = Named<QComboBox>(dialog, "编码");
  auto *delimiter = Named<QComboBox>(dialog, "分隔符");
  auto *skipLines = Named<QSpinBox>(dialog, "跳过行数");
  ASSERT_TRUE(encoding && delimiter && skipLines);
  EXPECT_FALSE(encoding->isEnabled());
  EXPECT_FALSE(delimiter->isEnabled());
  EXPECT_TRUE(skipLines->isEnabled());
  EXPECT_EQ(skipLines->value(), 3);
  QTableView *preview = Table(dialog);
  ASSERT_TRUE(preview);
  ASSERT_EQ(preview->model()->rowCount(), 3);
  EXPECT_EQ(Text(preview, 1, "行"), "7"); // the sheet's row
  EXPECT_EQ(dialog.LastCheck().good, 3);
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
}

TEST_F(ExchangeTest, ImportDialogRefusesAFileThatIsNoStatement) {
  ImportDialog dialog(file_, 3);
  EXPECT_FALSE(dialog.OpenStatement(Data("binary.bin")));
  EXPECT_EQ(prompt_.Last(), "文件不是可识别的对账单（CSV、XLSX、XLS 或 OFX）");
}

TEST_F(ExchangeTest, ChartPicturesInThreeFormatsAtTheAskedSize) {
  const ChartPainter paint = [](QPainter &painter, const QSize &size) {
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    painter.setBrush(QColor(79, 117, 187));
    painter.drawRect(10, 10, size.width() / 2, size.height() / 2);
    painter.drawText(20, size.height() - 10, "一月");
  };
  QString error;
  ASSERT_TRUE(SaveChartImage(paint, {640, 480}, TempPath("c.png"), &error));
  const QImage image(TempPath("c.png"));
  EXPECT_EQ(image.size(), QSize(640, 480));
  EXPECT_EQ(image.pixelColor(20, 20), QColor(79, 117, 187));
  ASSERT_TRUE(SaveChartImage(paint, {640, 480}, TempPath("c.svg"), &error));
  QFile svg(TempPath("c.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray svgText = svg.readAll();
  EXPECT_TRUE(svgText.contains("<svg"));
  EXPECT_TRUE(svgText.contains("viewBox=\"0 0 640 480\""));
  ASSERT_TRUE(SaveChartImage(paint, {640, 480}, TempPath("c.pdf"), &error));
  QFile pdf(TempPath("c.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
  EXPECT_FALSE(QFile::exists(TempPath("c.pdf.part")));
  EXPECT_FALSE(SaveChartImage(paint, {0, 480}, TempPath("d.png"), &error));
  EXPECT_FALSE(
      SaveChartImage(paint, {10, 10}, TempPath("no/dir/d.svg"), &error));
  EXPECT_FALSE(QFile::exists(TempPath("d.png")));
}
