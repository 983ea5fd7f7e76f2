// Deciding what bill lines become; see bill_lines.h.
#include "exchange/bill_lines.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <cmath>

namespace {

// The payment that refund (a line index) returns money of, or -1.
qsizetype PaymentOf(const std::vector<BillFacts> &lines, qsizetype refund,
                    const QHash<QString, qsizetype> &byMerchant,
                    QSet<qsizetype> &taken) {
  const BillFacts &line = lines[size_t(refund)];
  if (!line.merchant.isEmpty()) {
    const qsizetype found = byMerchant.value(line.merchant, -1);
    if (found >= 0 && found != refund)
      return found;
  }
  for (size_t i = 0; i < lines.size() && !line.number.isEmpty(); ++i) {
    const BillFacts &payment = lines[i];
    if (qsizetype(i) != refund && payment.read && !IsRefund(payment) &&
        payment.number.size() >= 6 && line.number != payment.number &&
        line.number.startsWith(payment.number))
      return qsizetype(i);
  }
  // Else a payment to the same counterpart, marked refunded in full, of
  // the same amount; each such payment is taken by one refund.
  for (size_t i = 0; i < lines.size() && !line.counterpart.isEmpty(); ++i) {
    const BillFacts &payment = lines[i];
    if (payment.read && payment.side == BillSide::Out &&
        payment.counterpart == line.counterpart &&
        payment.status.contains(QStringLiteral("全额退款")) &&
        std::abs(payment.amount - line.amount) < 0.005 &&
        !taken.contains(qsizetype(i))) {
      taken.insert(qsizetype(i));
      return qsizetype(i);
    }
  }
  return -1;
}

QString CancelsPaymentAt(int lineNumber) {
  return QStringLiteral("与第%1行的付款相抵").arg(lineNumber);
}

} // namespace

BillSide SideOf(const QString &direction) {
  const QString text = direction.trimmed();
  if (text == QStringLiteral("支出"))
    return BillSide::Out;
  if (text == QStringLiteral("收入"))
    return BillSide::In;
  return BillSide::Neutral;
}

bool IsClosedStatus(const QString &status) {
  static const QStringList closed{
      QStringLiteral("交易关闭"), QStringLiteral("支付失败"),
      QStringLiteral("交易失败"), QStringLiteral("已关闭"),
      QStringLiteral("付款失败"), QStringLiteral("已撤销"),
      QStringLiteral("等待付款")};
  return closed.contains(status.trimmed());
}

bool IsRefund(const BillFacts &line) {
  if (line.side == BillSide::Out)
    return false;
  return line.kind.contains(QStringLiteral("退款")) ||
         line.status.contains(QStringLiteral("退款"));
}

std::vector<BillOutcome> ClassifyBillLines(const std::vector<BillFacts> &lines,
                                           bool refundsCancelPayments) {
  std::vector<BillOutcome> outcomes(lines.size());
  QHash<QString, qsizetype> byMerchant; // payments by merchant number
  QSet<qsizetype> taken;                // payments found by counterpart
  for (size_t i = 0; i < lines.size(); ++i) {
    const BillFacts &line = lines[i];
    if (!line.read)
      continue;
    if (IsClosedStatus(line.status))
      outcomes[i].skipped = line.status.trimmed();
    // A closed payment is found too: its refund did not happen either.
    if (!IsRefund(line) && !line.merchant.isEmpty() &&
        line.side == BillSide::Out)
      byMerchant.insert(line.merchant, qsizetype(i));
  }
  // A payment whose refund is elsewhere keeps what the bill says was
  // refunded of it, when the user lets refunds cancel payments.
  std::vector<double> left(lines.size());
  for (size_t i = 0; i < lines.size(); ++i)
    left[i] = lines[i].amount -
              (refundsCancelPayments && !IsRefund(lines[i]) ? lines[i].refunded
                                                            : 0);
  for (size_t i = 0; i < lines.size(); ++i) {
    const BillFacts &line = lines[i];
    if (!line.read || !outcomes[i].skipped.isEmpty() || !IsRefund(line))
      continue;
    const qsizetype payment =
        PaymentOf(lines, qsizetype(i), byMerchant, taken);
    if (payment < 0) {
      outcomes[i].refundIncome = true;
      continue;
    }
    BillOutcome &paid = outcomes[size_t(payment)];
    if (!paid.skipped.isEmpty()) {
      // The payment did not happen: neither did its refund.
      outcomes[i].skipped = QStringLiteral("第%1行的付款未导入")
                                .arg(lines[size_t(payment)].lineNumber);
      continue;
    }
    const bool full =
        std::abs(line.amount - lines[size_t(payment)].amount) < 0.005 ||
        lines[size_t(payment)].status.contains(QStringLiteral("全额退款"));
    if (!full && !refundsCancelPayments) {
      outcomes[i].refundIncome = true;
      continue;
    }
    outcomes[i].skipped = CancelsPaymentAt(lines[size_t(payment)].lineNumber);
    left[size_t(payment)] -= line.amount;
    if (full || left[size_t(payment)] < 0.005)
      paid.skipped = QStringLiteral("已全额退款");
    else
      paid.amount = left[size_t(payment)];
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    BillOutcome &outcome = outcomes[i];
    if (!lines[i].read || !outcome.skipped.isEmpty() || outcome.amount >= 0 ||
        left[i] > lines[i].amount - 0.005)
      continue;
    if (left[i] < 0.005)
      outcome.skipped = QStringLiteral("已全额退款");
    else
      outcome.amount = left[i];
  }
  return outcomes;
}
