// 打印, 打印预览 and 导出报表… of the main window on a real file: printing
// the records page to a PDF through the print dialog, the selected records
// alone through "仅打印选中的记录", the preview of exactly those pages, a
// chart page, and the yearly statement of the dialog.
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/sorvanel_doc.h"
#include "app/sorvanel_view.h"
#include "app/startup_settings.h"
#include "app_test_env.h"
#include "analysis/ui/year_report_dialog.h"
#include "db/db_visiter.h"
#include "document/account_file.h"
#include "records/ui/sorvan_grid_view.h"
#include "support/pdf_text.h"
#include "window/print_preview_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>

namespace {

class PrintAppTest : public AppTest {
protected:
  PrintAppTest()
      : settings_(Folder()), frame_(std::make_unique<CMainFrame>(settings_, recent_)) {}
  ~PrintAppTest() override { frame_.reset(); }

  // A household file with records 1 … count in the default group.
  CChildFrame *Open(int count) {
    if (!frame_->OpenDocument(Copy(QStringLiteral("家庭账本"), QStringLiteral("印"))))
      return nullptr;
    CChildFrame *child = frame_->ActiveChild();
    CDBVisiter &session = *child->Doc().File().Session();
    for (int i = 1; i <= count; ++i)
      EXPECT_TRUE(session.Execute(
          QStringLiteral("Insert Into Users (ID, Data, Item, Total, trelva_Group_ID) "
                         "Values (%1, #2025-%2-3#, 'O''Brien %1', %1.5, 2)")
              .arg(i).arg(i % 12 + 1)));
    child->GridPage()->Requery();
    return child;
  }

  // Prints with the print dialog accepted as it comes, or with the
  // selection chosen.
  void Print(const QString &pdf, bool selection) {
    QPrinter &printer = frame_->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPrintRange(QPrinter::AllPages);
    runner_.onDialog = [&](QDialog &dialog) {
      dialog.show(); // as exec() does: the dialog reads the printer
      auto *radio = dialog.findChild<QRadioButton *>(QStringLiteral("printSelection"));
      offered_ = radio && !radio->isHidden() &&
                 radio->text() == QStringLiteral("仅打印选中的记录");
      if (selection && radio)
        radio->setChecked(true);
      dialog.accept();
    };
    frame_->UpdateUi();
    QAction *print = frame_->Command(QStringLiteral("打印"));
    ASSERT_TRUE(print->isEnabled());
    print->trigger();
  }

  StartupSettings settings_;
  RecentFileList recent_;
  std::unique_ptr<CMainFrame> frame_;
  bool offered_ = false;
};

TEST_F(PrintAppTest, PrintsTheRecordsPageAndTheSelectionAlone) {
  CChildFrame *child = Open(60);
  ASSERT_NE(child, nullptr);
  const QString all = Folder() + QStringLiteral("/all.pdf");
  Print(all, false);
  EXPECT_FALSE(offered_); // nothing selected
  const int pages = PdfPageCount(all);
  ASSERT_GE(pages, 2);
  const QString first = PdfPageText(all, 1);
  for (const char *text : {"印.fz", "日期", "金额", "缺省分组", "O'Brien 1", "2025/2/3", "1.5"})
    EXPECT_TRUE(PdfHas(first, QString::fromUtf8(text))) << text;
  QString every;
  for (int page = 1; page <= pages; ++page)
    every += PdfPageText(all, page);
  EXPECT_TRUE(PdfHas(every, QStringLiteral("O'Brien 60")));

  CSorvansGridCtrl &grid = child->GridPage()->Grid();
  int row7 = -1;
  for (int row = 0; row < grid.GetNumberRows(); ++row)
    if (grid.IsRecordRow(row) && grid.QuickGetText(-1, row) == QStringLiteral("7"))
      row7 = row;
  ASSERT_GE(row7, 0);
  grid.SelectRange(0, row7, 2, row7 + 1);
  const QString some = Folder() + QStringLiteral("/some.pdf");
  Print(some, true);
  EXPECT_TRUE(offered_);
  ASSERT_EQ(PdfPageCount(some), 1);
  const QString text = PdfPageText(some, 1);
  EXPECT_TRUE(PdfHas(text, QStringLiteral("O'Brien 7")));
  EXPECT_TRUE(PdfHas(text, QStringLiteral("O'Brien 8")));
  EXPECT_TRUE(PdfHas(text, QStringLiteral("缺省分组")));
  EXPECT_FALSE(PdfHas(text, QStringLiteral("O'Brien 9")));
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
}

TEST_F(PrintAppTest, ThePreviewPaintsThePagesThatArePrinted) {
  CChildFrame *child = Open(200);
  ASSERT_NE(child, nullptr);
  int shown = 0;
  bool painted = false;
  runner_.onDialog = [&](QDialog &dialog) {
    auto *preview = qobject_cast<PrintPreviewDialog *>(&dialog);
    if (!preview)
      return;
    shown = preview->PageCount();
    preview->ShowPage(shown - 1);
    QImage image(400, 560, QImage::Format_RGB32);
    QPainter painter(&image);
    preview->PaintPreview(painter, image.size(), preview->CurrentPage());
    painted = image.pixel(200, 280) != QColor(128, 128, 128).rgb();
    dialog.reject();
  };
  frame_->UpdateUi();
  frame_->Command(QStringLiteral("打印预览"))->trigger();
  EXPECT_TRUE(painted);
  const QString pdf = Folder() + QStringLiteral("/p.pdf");
  Print(pdf, false);
  EXPECT_EQ(PdfPageCount(pdf), shown);

  // A chart page prints its chart; a pie that shows only its hint prints
  // nothing.
  child->View()->SelectPageKind(CSorvanBaseView::BarChartPage);
  const QString bar = Folder() + QStringLiteral("/bar.pdf");
  Print(bar, false);
  EXPECT_TRUE(PdfHas(PdfPageText(bar, 1), QStringLiteral("按月汇总")));
  child->View()->SelectPageKind(CSorvanBaseView::PieChartPage);
  const QString pie = Folder() + QStringLiteral("/pie.pdf");
  Print(pie, false);
  EXPECT_FALSE(QFile::exists(pie));
}

TEST_F(PrintAppTest, TheReportDialogWritesTheYearlyStatement) {
  ASSERT_NE(Open(24), nullptr);
  const QString out = Folder() + QStringLiteral("/年度.html");
  runner_.onDialog = [&](QDialog &dialog) {
    auto *report = qobject_cast<CYearReportDialog *>(&dialog);
    ASSERT_NE(report, nullptr);
    report->YearBox()->setValue(2025);
    report->PathEdit()->setText(Folder() + QStringLiteral("/年度.pdf"));
    report->FormatBox()->setCurrentIndex(1); // HTML: the name follows
    EXPECT_EQ(report->PathEdit()->text(), out);
    report->accept();
  };
  frame_->UpdateUi();
  frame_->Command(QStringLiteral("导出报表…"))->trigger();
  QFile file(out);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(html.contains(QStringLiteral("2025 年度报表")));
  EXPECT_TRUE(html.contains(QStringLiteral("<td>全年</td>")));
  EXPECT_TRUE(prompt_.Texts().isEmpty()) << qPrintable(prompt_.Texts().join('\n'));
}

} // namespace
