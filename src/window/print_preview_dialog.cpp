// The print preview; see print_preview_dialog.h.
#include "window/print_preview_dialog.h"

#include "print/print_job.h"
#include "print/print_pages.h"
#include "window/page_setup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

// The page shown, painted whenever the widget is.
class PrintPreviewDialog::PageView : public QWidget {
public:
  explicit PageView(PrintPreviewDialog &dialog)
      : QWidget(&dialog), dialog_(dialog) {
    setAccessibleName(QStringLiteral("预览页"));
    setMinimumSize(300, 400);
  }

protected:
  void paintEvent(QPaintEvent *) override {
    QPainter painter(this);
    dialog_.PaintPreview(painter, size(), dialog_.CurrentPage());
  }

private:
  PrintPreviewDialog &dialog_;
};

PrintPreviewDialog::PrintPreviewDialog(PrintJob &job, const PageFrame &frame,
                                       QPrinter &printer, QWidget *parent)
    : QDialog(parent), job_(job), frame_(frame), printer_(printer) {
  setWindowTitle(QStringLiteral("打印预览"));
  auto *layout = new QVBoxLayout(this);
  auto *bar = new QHBoxLayout;
  auto button = [this, bar](const QString &text) {
    auto *b = new QPushButton(text, this);
    b->setAccessibleName(text);
    b->setAutoDefault(false);
    bar->addWidget(b);
    return b;
  };
  QPushButton *printButton = button(QStringLiteral("打印…"));
  QPushButton *setUp = button(QStringLiteral("页面设置…"));
  previous_ = button(QStringLiteral("上一页"));
  next_ = button(QStringLiteral("下一页"));
  page_ = new QSpinBox(this);
  page_->setAccessibleName(QStringLiteral("页"));
  page_->setPrefix(QStringLiteral("页 "));
  count_ = new QLabel(this);
  bar->addWidget(page_);
  bar->addWidget(count_);
  bar->addStretch();
  QPushButton *close = button(QStringLiteral("关闭"));
  layout->addLayout(bar);
  view_ = new PageView(*this);
  layout->addWidget(view_, 1);

  connect(printButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(setUp, &QPushButton::clicked, this, [this] {
    if (RunPageSetup(this, printer_))
      Relayout();
  });
  connect(previous_, &QPushButton::clicked, this,
          [this] { ShowPage(current_ - 1); });
  connect(next_, &QPushButton::clicked, this, [this] { ShowPage(current_ + 1); });
  connect(page_, &QSpinBox::valueChanged, this,
          [this](int value) { ShowPage(value - 1); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  // A sheet's shape, as tall as the screen allows.
  const QRect screen = parent ? parent->screen()->availableGeometry() : QRect(0, 0, 760, 900);
  const int height = std::min(900, screen.height() * 9 / 10);
  resize(std::min(760, height * 5 / 6), height);
  Relayout();
}

PrintPreviewDialog::~PrintPreviewDialog() = default;

void PrintPreviewDialog::Relayout() {
  layout_ = FittingLayout(job_, printer_.pageLayout());
  const QRectF area = PrintableArea(layout_);
  pageCount_ = std::max(1, job_.Paginate(PageFrame::BodyRect(area).size()));
  current_ = std::min(current_, pageCount_ - 1);
  UpdateControls();
  view_->update();
}

void PrintPreviewDialog::ShowPage(int index) {
  index = std::clamp(index, 0, pageCount_ - 1);
  if (index == current_)
    return;
  current_ = index;
  UpdateControls();
  view_->update();
}

void PrintPreviewDialog::UpdateControls() {
  const QSignalBlocker block(page_);
  page_->setRange(1, pageCount_);
  page_->setValue(current_ + 1);
  count_->setText(QStringLiteral("/ %1").arg(pageCount_));
  previous_->setEnabled(current_ > 0);
  next_->setEnabled(current_ + 1 < pageCount_);
}

void PrintPreviewDialog::PaintPreview(QPainter &painter, const QSize &size,
                                      int index) const {
  painter.fillRect(QRect(QPoint(0, 0), size), QColor(128, 128, 128));
  const QPageLayout &layout = layout_;
  const QRectF paper = layout.fullRectPoints();
  const QRectF printable = layout.paintRect(QPageLayout::Inch);
  const double toUnits = kPrintUnitsPerInch / 72.0;
  const QSizeF paperUnits = paper.size() * toUnits;
  constexpr int kGap = 12;
  const double scale = std::min((size.width() - 2 * kGap) / paperUnits.width(),
                                (size.height() - 2 * kGap) / paperUnits.height());
  if (!(scale > 0))
    return;
  const QSizeF shown = paperUnits * scale;
  const QPointF origin((size.width() - shown.width()) / 2,
                       (size.height() - shown.height()) / 2);
  painter.fillRect(QRectF(origin, shown), Qt::white);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.translate(origin);
  painter.scale(scale, scale);
  painter.translate(printable.left() * kPrintUnitsPerInch,
                    printable.top() * kPrintUnitsPerInch);
  const QRectF area = PrintableArea(layout);
  PaintFramedPage(painter, job_, frame_, area, index, pageCount_);
  painter.restore();
}
