// The budget page and its editor on a household file: the month's rows over
// the window's scope, the arrows, the accessibility tree, reloading on its
// hints, the records of a row, the over-budget note, and the editor's
// writing and refusals.
#include "../chart_test_file.h"
#include "../../print/print_to_pdf.h"
#include "support/pdf_text.h"

#include "analysis/budget_store.h"
#include "analysis/ui/budget_chart_widget.h"
#include "analysis/ui/budget_editor.h"
#include "analysis/ui/budget_view.h"
#include "print/page_frame.h"
#include "print/print_job.h"
#include "window/dialog_runner.h"
#include "window/document_window.h"

#include <QAccessible>
#include <QComboBox>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class BudgetWindow : public DocumentWindow {
public:
  AccountFile *File() const override { return file; }
  QList<int> ActiveGroupIds() const override { return groups; }
  bool FilterWhere(QString &where) const override {
    where = filter;
    return true;
  }
  void ShowRecordsNarrowedTo(const QList<FilterCondition> &conditions) override {
    shown = conditions;
  }

  AccountFile *file = nullptr;
  QList<int> groups;
  QString filter;
  QList<FilterCondition> shown;
};

class BudgetPageTest : public ChartFileTest {
protected:
  void SetUp() override {
    ChartFileTest::SetUp();
    window_.file = &file_;
    now_ = CurrentMonth();
    Budget budget{QStringLiteral("Category"), QStringLiteral("Total"), {}};
    budget.Set(QStringLiteral("餐饮"), QString(), 1000);
    budget.Set(QStringLiteral("交通"), QString(), 300);
    ASSERT_TRUE(SaveBudget(file_, budget));
  }
  QString Day(int day, int monthsAgo = 0) const {
    const YearMonth month = YearMonth::FromIndex(now_.Index() - monthsAgo);
    return QStringLiteral("%1-%2-%3").arg(month.year).arg(month.month).arg(day);
  }

  BudgetWindow window_;
  YearMonth now_;
};

// The printed month holds the rows as the page shows them, the total first.
TEST_F(BudgetPageTest, PrintsTheMonthAsShown) {
  Add({Day(2), 900});
  CSorvanBudgetView page(&window_);
  page.SetActivePage(true);
  ASSERT_TRUE(page.CanPrint());
  const std::unique_ptr<PrintJob> job = page.MakePrintJob(false);
  ASSERT_TRUE(job);
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("budget.pdf"));
  ASSERT_TRUE(PrintToPdf(*job, PageFrame{"a.fz", {}, QDate(2026, 1, 1)}, pdf));
  ASSERT_EQ(PdfPageCount(pdf), 1);
  const QString text = PdfPageText(pdf, 1);
  for (const char *expected : {"预算", "剩余", "合计", "餐饮", "900.00", "90%"})
    EXPECT_TRUE(PdfHas(text, QString::fromUtf8(expected))) << expected;
  EXPECT_LT(text.indexOf(QStringLiteral("合计")), text.indexOf(QStringLiteral("餐饮")));
}

TEST_F(BudgetPageTest, RowsOfTheMonthOverTheScope) {
  Add({Day(2), 900});
  Add({Day(3), 100, QStringLiteral("交通"), QStringLiteral("现金"), 3});
  Add({Day(3, 1), 40});
  window_.groups = {2};
  CSorvanBudgetView page(&window_);
  page.resize(900, 400);
  page.SetActivePage(true);
  BudgetChartWidget *chart = page.Chart();
  ASSERT_EQ(chart->RowCount(), 3);
  EXPECT_EQ(chart->Row(0).option, "合计");
  EXPECT_EQ(chart->Row(0).spent, 900);
  EXPECT_EQ(chart->Row(2).spent, 0); // group 3 is out of scope
  // The page names its scope, as the over-budget note names its own.
  EXPECT_TRUE(chart->Title().endsWith(QStringLiteral("　范围：分组 缺省分组")))
      << qPrintable(chart->Title());
  EXPECT_EQ(BandOf(chart->Row(1)), BudgetBand::Amber);

  // Each row is a child of the chart, read whole: its option and figures.
  QAccessibleInterface *node = QAccessible::queryAccessibleInterface(chart);
  ASSERT_TRUE(node);
  ASSERT_EQ(node->childCount(), 3);
  EXPECT_EQ(node->child(1)->text(QAccessible::Name),
            "餐饮，预算 1000.00，已用 900.00，剩余 100.00");
  EXPECT_EQ(node->child(1)->text(QAccessible::Value),
            "预算 1000.00，已用 900.00，剩余 100.00");

  page.StepMonth(-1);
  EXPECT_EQ(page.Figures().lines.value(0).spent, 40);
  EXPECT_EQ(page.Month(), YearMonth::FromIndex(now_.Index() - 1));

  // Hidden, it only marks itself; shown again, it reloads once.
  page.SetActivePage(false);
  Add({Day(4, 1), 5});
  page.OnChangeNotify(file_, HINT_BUDGET_SUMS);
  EXPECT_TRUE(page.IsReloadPending());
  EXPECT_EQ(page.Figures().lines.value(0).spent, 40);
  page.SetActivePage(true);
  EXPECT_EQ(page.Figures().lines.value(0).spent, 45);

  // A double click on a row asks the window for that row's records.
  chart->resize(900, 400);
  QTest::mouseDClick(chart, Qt::LeftButton, {}, chart->RowRect(1).center());
  ASSERT_EQ(window_.shown.size(), 2);
  EXPECT_EQ(window_.shown[1].texts, QStringList{"餐饮"});
}

// A change of records that takes an option over its budget is told once,
// shown or not; without a budget the page says how to set one.
TEST_F(BudgetPageTest, OverBudgetNoteAndNoBudget) {
  CSorvanBudgetView page(&window_);
  QSignalSpy notes(&page, &CSorvanBudgetView::statusNote);
  Add({Day(2), 1120});
  page.OnChangeNotify(file_, HINT_BUDGET_SUMS);
  ASSERT_EQ(notes.size(), 1);
  EXPECT_EQ(notes[0][0].toString(), "餐饮本月已超出预算 120.00 元（按全部记录）");
  Add({Day(2), 1});
  page.OnChangeNotify(file_, HINT_BUDGET_SUMS);
  EXPECT_EQ(notes.size(), 1);

  ASSERT_TRUE(SaveBudget(file_, Budget()));
  page.OnChangeNotify(file_, HINT_BUDGET);
  page.SetActivePage(true);
  EXPECT_EQ(page.Chart()->RowCount(), 0);
  EXPECT_TRUE(page.Figures().problem.contains("设置预算…"));
}

// "设置预算…" runs the editor; what it writes reaches the page through the
// budget's hint.
TEST_F(BudgetPageTest, TheMenuRunsTheEditor) {
  struct Runner : DialogRunner {
    bool Run(QDialog &dialog) override {
      auto &editor = static_cast<BudgetEditor &>(dialog);
      editor.Grid()->item(1, 1)->setText("1500");
      editor.accept();
      return editor.result() == QDialog::Accepted;
    }
  } runner;
  SetDialogRunner(&runner);
  CSorvanBudgetView page(&window_);
  page.SetActivePage(true);
  struct Forward : AccountFileListener {
    CSorvanBudgetView *page;
    void Notify(AccountFile &file, unsigned hint) override {
      page->OnChangeNotify(file, hint);
    }
  } forward;
  forward.page = &page;
  file_.AddListener(&forward);
  page.ContextMenu()->actions().first()->trigger();
  file_.RemoveListener(&forward);
  SetDialogRunner(nullptr);
  EXPECT_EQ(page.Figures().lines.value(0).budget, 1500);
}

// The editor writes the month set apart, copies the month before, and
// keeps itself open on a cell that holds no amount.
TEST_F(BudgetPageTest, EditorWritesAndRefuses) {
  BudgetEditor editor(file_, now_);
  QTableWidget *grid = editor.Grid();
  ASSERT_EQ(grid->rowCount(), 7);
  // The month's total first, in view; the key is no column to sum.
  EXPECT_EQ(grid->item(0, 0)->text(), "合计（可选）");
  for (QComboBox *box : editor.findChildren<QComboBox *>())
    EXPECT_EQ(box->findText("编号"), -1);
  EXPECT_EQ(grid->item(1, 1)->text(), "1000");
  editor.ThisMonthButton()->setChecked(true);
  grid->item(2, 1)->setText("350");
  grid->item(3, 1)->setText("abc");
  editor.accept();
  EXPECT_EQ(prompt_.Texts(), QStringList{"预算金额不是数字：购物=abc"});
  prompt_.Clear();
  EXPECT_EQ(grid->currentRow(), 3);
  EXPECT_EQ(editor.result(), 0);
  EXPECT_EQ(LoadBudget(Session()).AmountFor("交通", BudgetMonthKey(now_)), 300);

  grid->item(3, 1)->setText("");
  editor.accept();
  EXPECT_EQ(editor.result(), int(QDialog::Accepted));
  const Budget saved = LoadBudget(Session());
  EXPECT_EQ(saved.AmountFor("交通", BudgetMonthKey(now_)), 350);
  EXPECT_EQ(saved.AmountFor("交通", QString()), 300);

  BudgetEditor next(file_, YearMonth::FromIndex(now_.Index() + 1));
  next.ThisMonthButton()->setChecked(true);
  next.CopyMonthBefore();
  EXPECT_EQ(next.Grid()->item(2, 1)->text(), "350");
}

} // namespace
