// The two chart pages on a household file with a year of records, read
// through a window with real set-up panes: nothing computed at first, the
// page's own hint bit, reloading once when shown, the refresh command, the
// scope boxes, a failed filter or set-up condition, bar colours and slice
// colours (counted before the widget refuses a slice), and resizing; the
// pop-up menu's "保存图片…" and the pictures the pages' painters give.
#include "../chart_test_file.h"
#include "support/template_copy.h"

#include "analysis/chart_colours.h"
#include "analysis/ui/bar_chart_view.h"
#include "analysis/ui/chart_set_up_source.h"
#include "analysis/ui/bar_chart_widget.h"
#include "analysis/ui/pie_chart_view.h"
#include "analysis/ui/pie_chart_widget.h"
#include "analysis/ui/sorvan_bar_setup_pane.h"
#include "analysis/ui/sorvan_pie_setup_pane.h"
#include "base/scripted_prompt.h"
#include "window/chart_image.h"
#include "window/document_window.h"
#include "window/page_printing.h"
#include "widgets/property_grid.h"
#include "widgets/property_item.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTimer>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>

namespace {

const QStringList kCategories{"餐饮", "交通", "购物", "居住", "医疗", "其他"};
const QStringList kPayments{"现金", "银行卡", "信用卡"};

class TestWindow : public DocumentWindow {
public:
  AccountFile *File() const override { return file; }
  QList<int> ActiveGroupIds() const override { return groups; }
  bool FilterWhere(QString &where) const override {
    where = filter;
    return filterOk;
  }
  bool ReadChartSetUp(ChartKind kind, ChartSetUp &setUp) const override {
    return ReadSetUpPanes(bar, pie, kind, setUp);
  }

  AccountFile *file = nullptr;
  QList<int> groups;
  QString filter;
  bool filterOk = true;
  CSorvanBarSetUpPane *bar = nullptr;
  CSorvanPieSetUpPane *pie = nullptr;
};

// The size in pixels at 96 dots per inch that an SVG file's root element
// gives in millimetres.
QSize SvgRootSize(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return QSize();
  QXmlStreamReader xml(&file);
  if (!xml.readNextStartElement() || xml.name() != QLatin1String("svg"))
    return QSize();
  auto pixels = [&](const char *name) {
    QString text = xml.attributes().value(QLatin1String(name)).toString();
    if (!text.endsWith(QLatin1String("mm")))
      return -1;
    text.chop(2);
    return int(std::lround(text.toDouble() * 96 / 25.4));
  };
  return QSize(pixels("width"), pixels("height"));
}

class ChartPageTest : public ChartFileTest {
protected:
  void SetUp() override {
    ChartFileTest::SetUp();
    Session().BeginTransaction();
    for (int month = 1; month <= 12; ++month)
      for (int c = 0; c < kCategories.size(); ++c)
        for (int p = 0; p < kPayments.size(); ++p) {
          const bool negative = c == 4 && p == 2; // 医疗 by 信用卡
          const double total = (month * 10 + c + p * 0.5) * (negative ? -1 : 1);
          Add({QStringLiteral("2010-%1-%2").arg(month).arg(1 + c + p), total,
               kCategories[c], kPayments[p], (month + c) % 2 ? 2 : 3});
        }
    Run("Update Users Set [Count]=1");
    Session().CommitTransaction();
    window_.file = &file_;
    barPane_ = std::make_unique<CSorvanBarSetUpPane>(&window_);
    piePane_ = std::make_unique<CSorvanPieSetUpPane>(&window_);
    window_.bar = barPane_.get();
    window_.pie = piePane_.get();
    barPane_->Rebuild();
    piePane_->Rebuild();
  }
  void TearDown() override {
    window_.bar = nullptr;
    window_.pie = nullptr;
    barPane_.reset();
    piePane_.reset();
    ChartFileTest::TearDown();
  }

  static void ChooseSum(CSorvanSetUpPane &pane, const QString &field) {
    PropertyItem &list = *pane.Grid()->Root().Child(0)->Child(0);
    list.choice = int(list.choiceData.indexOf(field));
    ASSERT_GE(list.choice, 0);
    EXPECT_EQ(pane.SumColumn(), field);
  }
  // Switches an option column of a set-up pane on with only these options.
  static void Switch(CSorvanSetUpPane &pane, int column, const QStringList &ticked) {
    PropertyItem &sub = *pane.Grid()->Root().Child(1)->Child(column);
    sub.Child(0)->checked = true;
    for (int i = 1; i < sub.ChildCount(); ++i)
      sub.Child(i)->checked = ticked.contains(sub.Child(i)->caption);
  }

  // Opens the page's pop-up menu as a right click on target would, and
  // checks its one entry.
  static QAction *PopUpSaveEntry(QWidget &page, QWidget *target) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                            target->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(target, &event);
    QMenu *menu = page.findChild<QMenu *>();
    if (!menu || !QTest::qWaitFor([&] { return menu->isVisible(); }))
      return nullptr;
    menu->hide();
    const QList<QAction *> actions = menu->actions();
    return actions.size() == 1 && actions[0]->text() == "保存图片…" ? actions[0]
                                                                  : nullptr;
  }
  // Triggers "保存图片…" and cancels the size dialog it opens; the size the
  // dialog started at.
  static QSize SizeAskedFor(QAction &save) {
    QSize asked;
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, [&] {
      auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
      if (!dialog || dialog->windowTitle() != "保存图片")
        return;
      const QList<QSpinBox *> boxes = dialog->findChildren<QSpinBox *>();
      if (boxes.size() == 2)
        asked = QSize(boxes[0]->value(), boxes[1]->value());
      dialog->reject();
    });
    answer.start();
    save.trigger();
    return asked;
  }
  QString PicturePath(const QString &name) const { return dir_.filePath(name); }
  // Saves the page's picture and checks the three formats: a PNG of the
  // size, an SVG that renders at the size, a PDF of one page that size.
  void SaveAllFormats(const ChartPainter &paint, const QSize &size,
                      QImage *png) {
    QString error;
    ASSERT_TRUE(SaveChartImage(paint, size, PicturePath("chart.png"), &error))
        << qPrintable(error);
    ASSERT_TRUE(png->load(PicturePath("chart.png")));
    EXPECT_EQ(png->size(), size);

    ASSERT_TRUE(SaveChartImage(paint, size, PicturePath("chart.svg"), &error));
    QSvgRenderer svg(PicturePath("chart.svg"));
    EXPECT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), size));
    // Viewers show it at the size asked for: its width and height are given
    // at 96 dots per inch, as browsers read them.
    EXPECT_EQ(SvgRootSize(PicturePath("chart.svg")), size);

    ASSERT_TRUE(SaveChartImage(paint, size, PicturePath("chart.pdf"), &error));
    QFile pdf(PicturePath("chart.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
    // One page of the picture's size at 96 dots per inch, in points.
    EXPECT_EQ(bytes.count("/Type /Page\n"), 1);
    EXPECT_TRUE(bytes.contains(QStringLiteral("/MediaBox [0 0 %1 %2]")
                                   .arg(size.width() * 0.75, 0, 'f', 6)
                                   .arg(size.height() * 0.75, 0, 'f', 6)
                                   .toLatin1()))
        << bytes.mid(bytes.indexOf("/MediaBox"), 40).toStdString();
    EXPECT_GT(bytes.size(), 1000);
    EXPECT_FALSE(QFile::exists(PicturePath("chart.pdf.part")));
  }

  TestWindow window_;
  std::unique_ptr<CSorvanBarSetUpPane> barPane_;
  std::unique_ptr<CSorvanPieSetUpPane> piePane_;
};

TEST_F(ChartPageTest, BarPageReloadsOnItsOwnBitOnceWhenShown) {
  CSorvanBarChartView page(&window_);
  QSignalSpy recomputed(&page, &CSorvanBarChartView::recomputed);
  EXPECT_EQ(page.GetPageKind(), 2);
  ASSERT_NE(page.Chart(), nullptr);
  EXPECT_EQ(page.Chart()->Title(), "按月汇总");
  EXPECT_EQ(page.Chart()->BarCount(), 0) << "the initial update computes nothing";

  ChooseSum(*barPane_, "Total");
  page.OnChangeNotify(file_, HINT_PIE_SERIES);
  EXPECT_FALSE(page.IsReloadPending());
  page.OnChangeNotify(file_, 6);
  page.OnChangeNotify(file_, HINT_BAR_SERIES);
  EXPECT_TRUE(page.IsReloadPending());
  EXPECT_EQ(recomputed.count(), 0);

  page.SetActivePage(true);
  EXPECT_EQ(recomputed.count(), 1);
  EXPECT_FALSE(page.IsReloadPending());
  ASSERT_EQ(page.Chart()->BarCount(), 12);
  EXPECT_EQ(page.Chart()->BarLabel(0), "2010/1");
  EXPECT_EQ(page.Chart()->BarLabel(11), "2010/12");
  // The smallest month is green, the largest red.
  EXPECT_EQ(page.Chart()->BarFill(0), QColor(0, 255, 0));
  EXPECT_GE(page.Chart()->BarFill(11).red(), 254);
  EXPECT_EQ(page.Chart()->BarFill(11).blue(), 0);

  page.OnChangeNotify(file_, 6); // an edit while showing: at once
  EXPECT_EQ(recomputed.count(), 2);

  // The refresh command recomputes and leaves the pending mark alone.
  page.SetActivePage(false);
  page.OnChangeNotify(file_, HINT_BAR_SERIES);
  page.OnRefreshCommand();
  EXPECT_EQ(recomputed.count(), 3);
  EXPECT_TRUE(page.IsReloadPending());
}

TEST_F(ChartPageTest, BarPageFollowsScopeBoxesFilterAndSetUp) {
  CSorvanBarChartView page(&window_);
  page.SetActivePage(true);
  ChooseSum(*barPane_, "Count");
  page.Refresh();
  ASSERT_EQ(page.Series().Size(), 12);
  EXPECT_EQ(page.Series().values[0], 18); // every record counts 1

  window_.groups = {2};
  page.Refresh();
  EXPECT_EQ(page.Series().values[0], 9);
  barPane_->GroupScopeBox()->setCurrentIndex(1);
  page.Refresh();
  EXPECT_EQ(page.Series().values[0], 18);

  window_.filter = "[Payment] In ('现金')";
  page.Refresh();
  EXPECT_EQ(page.Series().values[0], 6);
  window_.filterOk = false;
  page.Refresh();
  EXPECT_EQ(page.Chart()->BarCount(), 0) << "a filter that fails shows nothing";
  barPane_->FilterScopeBox()->setCurrentIndex(1);
  page.Refresh();
  EXPECT_EQ(page.Series().values[0], 18);

  Switch(*barPane_, 0, {"餐饮", "交通"});
  page.Refresh();
  EXPECT_EQ(page.Series().values[0], 6);
  Switch(*barPane_, 1, {});
  page.Refresh();
  EXPECT_EQ(page.Chart()->BarCount(), 0) << "a column with nothing ticked";

  // Without a set-up pane there is nothing to sum.
  window_.bar = nullptr;
  page.Refresh();
  EXPECT_EQ(page.Chart()->BarCount(), 0);

  page.resize(700, 420);
  page.show();
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return page.Chart()->geometry() == QRect(0, 0, 700, 420); }));
}

// An empty pie says what to do, and printing it says why nothing prints.
TEST_F(ChartPageTest, AnEmptyPieSaysWhatToDoAndPrintsNothing) {
  CSorvanPieChartView page(&window_);
  page.OnRefreshCommand();
  EXPECT_EQ(page.Chart()->SliceCount(), 0);
  const QString hint = "在左侧饼图分析中展开一列以查看比例（即时更新关闭时，再点“执行筛选”）";
  EXPECT_EQ(page.Chart()->EmptyText(), hint);
  ScriptedPrompt prompt;
  ScopedPrompt scoped(prompt);
  QPrinter printer;
  EXPECT_FALSE(RunPrint(page, printer));
  RunPrintPreview(page, printer);
  EXPECT_EQ(prompt.Texts(),
            QStringList(2, "饼图中还没有比例，没有可打印的内容。\r\n" + hint));
  Switch(*piePane_, 0, kCategories);
  page.OnRefreshCommand();
  EXPECT_GT(page.Chart()->SliceCount(), 0);
  EXPECT_EQ(page.Chart()->EmptyText(), "");
  EXPECT_EQ(page.NothingToPrint(), "");
}

TEST_F(ChartPageTest, PiePageSlicesColoursAndHints) {
  CSorvanPieChartView page(&window_);
  QSignalSpy recomputed(&page, &CSorvanPieChartView::recomputed);
  EXPECT_EQ(page.GetPageKind(), 3);
  ASSERT_NE(page.Chart(), nullptr);
  EXPECT_EQ(page.Chart()->Caption(), "比例查看");
  EXPECT_EQ(page.Chart()->SliceCount(), 0);

  ChooseSum(*piePane_, "Total");
  Switch(*piePane_, 0, kCategories);
  Switch(*piePane_, 1, kPayments);
  page.OnChangeNotify(file_, HINT_BAR_SERIES);
  EXPECT_FALSE(page.IsReloadPending());
  page.OnChangeNotify(file_, 6);
  EXPECT_TRUE(page.IsReloadPending());
  page.SetActivePage(true);
  EXPECT_EQ(recomputed.count(), 1);

  // 18 combinations; 医疗|信用卡 sums below 0: in the series, not drawn.
  ASSERT_EQ(page.Series().Size(), 18);
  EXPECT_EQ(page.Series().labels[14], "医疗|信用卡");
  EXPECT_LT(page.Series().sums[14], 0);
  PieChartWidget &pie = *page.Chart();
  ASSERT_EQ(pie.SliceCount(), 17);
  EXPECT_EQ(pie.SliceName(0), "餐饮|现金[780.00]");
  EXPECT_EQ(pie.SliceColour(0), QColor::fromRgba(PieSliceArgb(0)));
  EXPECT_EQ(pie.SliceColour(13), QColor::fromRgba(PieSliceArgb(13)));
  // The slice after the refused one keeps its own palette entry, and from
  // the seventeenth on the colours repeat.
  EXPECT_EQ(pie.SliceName(14), "其他|现金[840.00]");
  EXPECT_EQ(pie.SliceColour(14), QColor::fromRgba(PieSliceArgb(15)));
  EXPECT_EQ(pie.SliceColour(15), QColor::fromRgba(PieSliceArgb(0)));

  // Groups only: the scope boxes start on the active groups.
  window_.groups = {3};
  page.OnRefreshCommand();
  EXPECT_EQ(recomputed.count(), 2);
  EXPECT_EQ(page.Series().labels[0], "餐饮|现金");
  EXPECT_EQ(page.Series().sums[0], 20 + 40 + 60 + 80 + 100 + 120);

  // A switched-on column with nothing ticked: an empty pie.
  Switch(*piePane_, 1, {});
  page.Refresh();
  EXPECT_EQ(pie.SliceCount(), 0);
  EXPECT_EQ(pie.Total(), 0);

  page.resize(640, 400);
  page.show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return pie.geometry() == QRect(0, 0, 640, 400); }));
}

// Whether some pixel of the image has the colour.
bool ShowsColour(const QImage &image, const QColor &colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour)
        return true;
  return false;
}

TEST_F(ChartPageTest, BarPageSavesTheWholeChartOrThePartInView) {
  CSorvanBarChartView page(&window_);
  ChooseSum(*barPane_, "Total");
  page.resize(400, 300);
  page.show();
  page.Refresh();
  ASSERT_EQ(page.Chart()->BarCount(), 12);
  QAction *save = PopUpSaveEntry(page, page.Chart()->viewport());
  ASSERT_NE(save, nullptr);

  // The picture starts as wide as all twelve bars, as high as the page.
  const QSize whole = page.ImageSize();
  EXPECT_EQ(whole, QSize(page.Chart()->ContentWidth(), 300));
  EXPECT_GT(whole.width(), 400);
  EXPECT_EQ(SizeAskedFor(*save), whole);

  QImage png;
  SaveAllFormats(page.ImagePainter(), whole, &png);
  const ChartRgb background = FromBgr(kBarBackgroundBgr);
  EXPECT_EQ(png.pixelColor(3, 3),
            QColor(background.red, background.green, background.blue));
  const QColor first = page.Chart()->BarFill(0);
  const QColor last = page.Chart()->BarFill(11);
  EXPECT_TRUE(ShowsColour(png, first));
  EXPECT_TRUE(ShowsColour(png, last));

  // A narrow picture shows the bars in view: the first ones at the start,
  // the last ones when the chart is scrolled to its end.
  QString error;
  const QSize narrow(300, 200);
  ASSERT_TRUE(SaveChartImage(page.ImagePainter(), narrow,
                             PicturePath("start.png"), &error));
  QImage start(PicturePath("start.png"));
  EXPECT_EQ(start.size(), narrow);
  EXPECT_TRUE(ShowsColour(start, first));
  EXPECT_FALSE(ShowsColour(start, last));
  page.Chart()->ScrollToBar(11);
  ASSERT_GT(page.Chart()->horizontalScrollBar()->value(), 0);
  int leftmost = 0;
  while (page.Chart()->BarRect(leftmost).isEmpty())
    ++leftmost;
  ASSERT_TRUE(SaveChartImage(page.ImagePainter(), narrow,
                             PicturePath("end.png"), &error));
  QImage end(PicturePath("end.png"));
  EXPECT_FALSE(ShowsColour(end, first));
  EXPECT_TRUE(ShowsColour(end, page.Chart()->BarFill(leftmost)));
  // Wider than the view, narrower than the chart: never past the last bar.
  const QSize wider(whole.width() - 100, 200);
  ASSERT_TRUE(SaveChartImage(page.ImagePainter(), wider,
                             PicturePath("wider.png"), &error));
  QImage widerPng(PicturePath("wider.png"));
  EXPECT_TRUE(ShowsColour(widerPng, last));
  EXPECT_TRUE(ShowsColour(widerPng, page.Chart()->BarFill(leftmost)));
}

TEST_F(ChartPageTest, PiePageSavesWhatItShows) {
  CSorvanPieChartView page(&window_);
  ChooseSum(*piePane_, "Total");
  Switch(*piePane_, 0, kCategories);
  page.resize(640, 400);
  page.show();
  page.Refresh();
  ASSERT_EQ(page.Chart()->SliceCount(), 6);
  QAction *save = PopUpSaveEntry(page, page.Chart());
  ASSERT_NE(save, nullptr);
  EXPECT_EQ(page.ImageSize(), QSize(640, 400));
  EXPECT_EQ(SizeAskedFor(*save), QSize(640, 400));

  // A larger picture than the screen: the same chart, every slice in it.
  QImage png;
  SaveAllFormats(page.ImagePainter(), QSize(1200, 900), &png);
  for (int i = 0; i < page.Chart()->SliceCount(); ++i)
    EXPECT_TRUE(ShowsColour(png, page.Chart()->SliceColour(i))) << i;
  EXPECT_EQ(png.pixelColor(2, 2), page.palette().color(QPalette::Button));
}

// In a ledger with a side column the panes offer the side, spending first;
// a household file has no side box.
TEST_F(ChartPageTest, SideBoxesInALedgerWithSides) {
  EXPECT_TRUE(barPane_->SideBox()->isHidden());
  AccountFile sides;
  ASSERT_TRUE(sides.OpenAccountFile(
      CopyTemplate(dir_, QStringLiteral("收支账本"), QStringLiteral("sides"))));
  for (const char *values : {"1, '支出', '购物', 617.9", "2, '收入', '红包', 138.88"})
    ASSERT_TRUE(sides.Session()->Execute(
        QStringLiteral("Insert Into Users ([ID], [Direction], [Category], "
                       "[Amount], [Data], [trelva_Group_ID]) Values (%1, "
                       "#2026-12-7#, 2)")
            .arg(QString::fromUtf8(values))));
  window_.file = &sides;
  barPane_->Rebuild();
  piePane_->Rebuild();
  ASSERT_FALSE(barPane_->SideBox()->isHidden());
  EXPECT_EQ(barPane_->SideBox()->count(), 3);
  EXPECT_EQ(piePane_->SideBox()->count(), 2);
  ChooseSum(*barPane_, "Amount");
  CSorvanBarChartView page(&window_);
  page.SetActivePage(true);
  page.Refresh();
  EXPECT_EQ(page.Series().values, QList<double>{617.9});
  EXPECT_EQ(page.Chart()->Title(), "按月汇总（支出）");
  barPane_->SideBox()->setCurrentIndex(int(ChartSide::Balance));
  page.Refresh();
  ASSERT_EQ(page.Series().Size(), 1);
  EXPECT_DOUBLE_EQ(page.Series().values[0], 138.88 - 617.9);
  window_.file = &file_;
}

} // namespace
