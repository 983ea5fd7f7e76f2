// The progress dialog of imports and exports; see exchange_progress.h.
#include "exchange/ui/exchange_progress.h"

#include <QApplication>
#include <QProgressDialog>

ExchangeProgressDialog::ExchangeProgressDialog(QWidget *parent,
                                               const QString &label)
    : dialog_(std::make_unique<QProgressDialog>(parent)), label_(label) {
  dialog_->setWindowTitle(QStringLiteral("Sorvanel"));
  dialog_->setLabelText(label_.arg(0));
  dialog_->setCancelButtonText(QStringLiteral("取消"));
  dialog_->setRange(0, 0);
  dialog_->setMinimumDuration(500);
  dialog_->setWindowModality(Qt::WindowModal);
  dialog_->setAutoReset(false);
  dialog_->setAutoClose(false);
}

ExchangeProgressDialog::~ExchangeProgressDialog() = default;

ExchangeProgress ExchangeProgressDialog::Callback() {
  return [this](int done) {
    // Every 200 lines is often enough to count and to stay responsive.
    if (done % 200 == 0) {
      dialog_->setLabelText(label_.arg(done));
      dialog_->setValue(0);
      QApplication::processEvents();
    }
    return !dialog_->wasCanceled();
  };
}
