// The import dialog driven as a user does: the statement read and mapped,
// the preview and the check shown, a change of the date form re-checked,
// "导入" storing the good lines; and chart pictures in the three formats.
#include "window/chart_image.h"
#include "exchange/ui/import_dialog.h"

#include "../bill_samples.h"
#include "../exchange_test_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

namespace {

template <class T> T *Named(QWidget &parent, const QString &name) {
  for (T *child : parent.findChildren<T *>())
    if (child->accessibleName() == name || child->property("text") == name)
      return child;
  return nullptr;
}

} // namespace

TEST_F(ExchangeTest, ImportDialogPreviewsChecksAndStores) {
  ImportDialog dialog(file_, 3);
  ASSERT_TRUE(dialog.OpenStatement(Data("gb18030_debit_credit.csv")));
  dialog.show();
  auto *preview = Named<QTableWidget>(dialog, "预览");
  ASSERT_TRUE(preview);
  ASSERT_EQ(preview->rowCount(), 3);
  // Line number, then the columns as stored: Data, ... Item.
  EXPECT_EQ(preview->item(0, 0)->text(), "4");
  EXPECT_EQ(preview->item(0, 2)->text(), "2024/1/5");
  EXPECT_EQ(dialog.LastCheck().good, 3);
  auto *summary = dialog.findChildren<QLabel *>().last();
  (void)summary;
  auto *group = Named<QComboBox>(dialog, "目标分组");
  ASSERT_TRUE(group);
  EXPECT_EQ(group->currentData().toInt(), 3);

  // A wrong date form makes every line bad, and the list says why.
  auto *dateForm = Named<QComboBox>(dialog, "日期格式");
  ASSERT_TRUE(dateForm);
  dateForm->setCurrentText("yyyy-MM-dd");
  dialog.Recheck();
  EXPECT_EQ(dialog.LastCheck().bad.size(), 3);
  auto *bad = Named<QListWidget>(dialog, "无法导入的行");
  ASSERT_TRUE(bad);
  EXPECT_EQ(bad->item(0)->text(), "第4行：日期无法识别：2024/1/5");
  dateForm->setCurrentText("yyyy/M/d");
  dialog.Recheck();
  EXPECT_TRUE(dialog.LastCheck().bad.isEmpty());

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
    auto *duplicates = Named<QListWidget>(dialog, "重复的行");
    ASSERT_TRUE(duplicates);
    ASSERT_EQ(duplicates->count(), 3);
    EXPECT_EQ(duplicates->item(1)->text(), "第5行");
    duplicates->item(1)->setCheckState(Qt::Checked);
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
  auto *unticked = Named<QListWidget>(dialog, "不导入的行");
  ASSERT_TRUE(unticked);
  ASSERT_EQ(unticked->count(), 2);
  EXPECT_EQ(unticked->item(0)->text(), "第12行：账簿没有收支列");
  EXPECT_EQ(unticked->item(1)->text(), "第13行：不计收支");
  auto *cancel = Named<QCheckBox>(dialog, "退款抵消付款");
  ASSERT_TRUE(cancel);
  cancel->setChecked(true);
  dialog.Recheck();
  ASSERT_EQ(unticked->count(), 2);
  EXPECT_EQ(unticked->item(0)->text(), "第12行：与第11行的付款相抵");
  unticked->item(1)->setCheckState(Qt::Checked);
  dialog.accept();
  EXPECT_EQ(dialog.StoredCount(), 3);
  EXPECT_EQ(Rows(file_, "Select Amount From Users Where trelva_Group_ID=5 "
                        "Order By ID"),
            (QStringList{"-32", "-50", "100"}));
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
  auto *preview = Named<QTableWidget>(dialog, "预览");
  ASSERT_TRUE(preview);
  ASSERT_EQ(preview->rowCount(), 3);
  EXPECT_EQ(preview->item(1, 0)->text(), "7"); // the sheet's row
  EXPECT_EQ(dialog.LastCheck().good, 3);
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
}

TEST_F(ExchangeTest, ImportDialogRefusesAFileThatIsNoStatement) {
  ImportDialog dialog(file_, 3);
  EXPECT_FALSE(dialog.OpenStatement(Data("binary.bin")));
  EXPECT_EQ(prompt_.Last(), "文件不是可识别的对账单（CSV 或 OFX）！");
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
