// The side pane base: toolbar, content and the immediate or pending update.
#include "window/sorvan_base_pane.h"

#include "window/document_window.h"
#include "window/pane_tool_bar.h"
#include "document/account_file.h"

#include <QAction>
#include <QKeyEvent>
#include <QVBoxLayout>

CSorvanBasePane::CSorvanBasePane(DocumentWindow *window, QWidget *parent)
    : QWidget(parent), window_(window), toolBar_(new PaneToolBar(this)),
      layout_(new QVBoxLayout(this)) {
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
  layout_->addStretch(1);
  layout_->addWidget(toolBar_);
}

AccountFile *CSorvanBasePane::File() const {
  return window_ ? window_->File() : nullptr;
}

bool CSorvanBasePane::GetConditionText(QString &text) const {
  text.clear();
  return false;
}

void CSorvanBasePane::OnChangeNotify(unsigned) {}

void CSorvanBasePane::SetImmediateUpdate(bool on) {
  update_.SetImmediate(on);
  if (on && update_.Pending()) {
    Apply();
    return;
  }
  UpdateCommandStates();
}

void CSorvanBasePane::NotifyChange(unsigned hint) {
  const unsigned now = update_.Change(hint);
  UpdateCommandStates();
  if (now)
    SendNow(now);
}

void CSorvanBasePane::Apply() {
  const unsigned mask = update_.TakePending();
  UpdateCommandStates();
  if (mask)
    SendNow(mask);
}

void CSorvanBasePane::SendNow(unsigned hint) {
  update_.ClearPending();
  UpdateCommandStates();
  if (AccountFile *file = File())
    file->Notify(hint);
  emit HintSent(hint);
}

void CSorvanBasePane::AddUpdateCommands() {
  QAction *immediate = toolBar_->AddCommand(
      ID_IMMEDIATE_UPDATE, QStringLiteral("即时更新\n即时更新"), true);
  connect(immediate, &QAction::toggled, this,
          [this](bool on) { SetImmediateUpdate(on); });
  QAction *apply = toolBar_->AddCommand(
      ID_APPLY, QStringLiteral("应用当前筛选\n执行筛选"));
  connect(apply, &QAction::triggered, this, [this] { Apply(); });
  UpdateCommandStates();
}

void CSorvanBasePane::SetContent(QWidget *content) {
  if (content_) {
    layout_->removeWidget(content_);
    content_->deleteLater();
  } else {
    delete layout_->takeAt(0); // the stretch that held the place
  }
  content_ = content;
  content->setParent(this);
  layout_->insertWidget(0, content, 1);
}

int CSorvanBasePane::heightForWidth(int width) const {
  const int content = content_ ? content_->minimumSizeHint().height() : 0;
  return content + toolBar_->heightForWidth(width);
}

void CSorvanBasePane::UpdateCommandStates() {
  if (QAction *immediate = toolBar_->Action(ID_IMMEDIATE_UPDATE)) {
    const QSignalBlocker blocker(immediate);
    immediate->setChecked(update_.Immediate());
  }
  if (QAction *apply = toolBar_->Action(ID_APPLY))
    apply->setEnabled(update_.Pending());
}

void CSorvanBasePane::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
  case Qt::Key_Escape:
    event->accept(); // a pane has no OK or Cancel to run
    return;
  default:
    QWidget::keyPressEvent(event);
  }
}
