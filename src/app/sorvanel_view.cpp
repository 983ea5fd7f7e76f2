// The page host's tab strip and page selection.
#include "app/sorvanel_view.h"

#include "window/sorvan_base_view.h"

#include <QShortcut>
#include <QVBoxLayout>

CSorvanViewTabCtrl::CSorvanViewTabCtrl(QWidget *parent) : QTabWidget(parent) {
  setDocumentMode(true);
  setTabPosition(QTabWidget::North);
  setAccessibleName(QStringLiteral("页面"));
}

CSorvanelView::CSorvanelView(QWidget *parent)
    : QWidget(parent), tabs_(new CSorvanViewTabCtrl(this)) {
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tabs_);
  connect(tabs_, &QTabWidget::currentChanged, this,
          &CSorvanelView::OnCurrentChanged);
  // Ctrl+Tab and Ctrl+PgDn go to the next page, Ctrl+Shift+Tab and
  // Ctrl+PgUp to the previous one, wherever the focus is in the window (the
  // grid would take them as cell moves otherwise).
  const auto step = [this](const QList<QKeySequence> &keys, int by) {
    for (const QKeySequence &key : keys) {
      auto *shortcut = new QShortcut(key, this);
      shortcut->setContext(Qt::WidgetWithChildrenShortcut);
      connect(shortcut, &QShortcut::activated, this, [this, by] { StepPage(by); });
    }
  };
  step({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1);
  step({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
        QKeySequence(Qt::CTRL | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
       -1);
}

void CSorvanelView::StepPage(int by) {
  const int count = tabs_->count();
  if (count > 0)
    tabs_->setCurrentIndex((tabs_->currentIndex() + by + count) % count);
}

void CSorvanelView::AddPage(QWidget *page, int kind, const QString &caption,
                            const QIcon &icon) {
  kinds_.append(kind);
  tabs_->addTab(page, icon, caption);
}

QWidget *CSorvanelView::ActivePage() const { return tabs_->currentWidget(); }

int CSorvanelView::ActivePageKind() const {
  return kinds_.value(tabs_->currentIndex(), 0);
}

QWidget *CSorvanelView::PageOfKind(int kind) const {
  const qsizetype index = kinds_.indexOf(kind);
  return index < 0 ? nullptr : tabs_->widget(int(index));
}

void CSorvanelView::SelectPageKind(int kind) {
  const qsizetype index = kinds_.indexOf(kind);
  if (index >= 0)
    tabs_->setCurrentIndex(int(index));
}

void CSorvanelView::OnCurrentChanged(int index) {
  if (index < 0)
    return;
  // Only the selected page is active; it reloads now if a change arrived
  // while it was hidden.
  QWidget *selected = tabs_->widget(index);
  for (int i = 0; i < tabs_->count(); ++i)
    if (auto *page = qobject_cast<CSorvanBaseView *>(tabs_->widget(i));
        page && tabs_->widget(i) != selected)
      page->SetActivePage(false);
  if (auto *page = qobject_cast<CSorvanBaseView *>(selected))
    page->SetActivePage(true);
  emit PageSelected(tabs_->widget(index), kinds_.value(index, 0));
}
