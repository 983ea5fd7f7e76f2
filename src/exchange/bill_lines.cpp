// Deciding what bill lines become; see bill_lines.h.
#include "exchange/bill_lines.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <cmath>

namespace {

constexpr double kCent = 0.005;

bool IsPayment(const BillFacts &line) {
  return line.read && !IsRefund(line) && line.side != BillSide::In;
}

// Payments by their numbers, to find a refund's.
struct PaymentIndex {
  QHash<QString, qsizetype> byMerchant;
  QHash<QString, qsizetype> byNumber;

  explicit PaymentIndex(const std::vector<BillFacts> &lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
      if (!IsPayment(lines[i]))
        continue;
      if (!lines[i].merchant.isEmpty())
        byMerchant.insert(lines[i].merchant, qsizetype(i));
      if (!lines[i].number.isEmpty())
        byNumber.insert(lines[i].number, qsizetype(i));
    }
  }
};

// The payment that refund (a line index) returns money of, or -1.
qsizetype PaymentOf(const std::vector<BillFacts> &lines, qsizetype refund,
                    const PaymentIndex &index, QSet<qsizetype> &taken) {
  const BillFacts &line = lines[size_t(refund)];
  auto found = [&](const QHash<QString, qsizetype> &by, const QString &key) {
    const qsizetype at = key.isEmpty() ? -1 : by.value(key, -1);
    return at != refund ? at : -1;
  };
  for (const qsizetype at :
       {found(index.byMerchant, line.merchant), found(index.byMerchant, line.number),
        found(index.byNumber, line.merchant), found(index.byNumber, line.number)})
    if (at >= 0)
      return at;
  for (size_t i = 0; i < lines.size() && !line.number.isEmpty(); ++i) {
    const BillFacts &payment = lines[i];
    if (qsizetype(i) != refund && IsPayment(payment) &&
        payment.number.size() >= 6 && line.number != payment.number &&
        line.number.startsWith(payment.number))
      return qsizetype(i);
  }
  // Else a payment to the same counterpart, marked refunded, of the same
  // amount; each such payment is taken by one refund.
  for (size_t i = 0; i < lines.size() && !line.counterpart.isEmpty(); ++i) {
    const BillFacts &payment = lines[i];
    if (IsPayment(payment) && payment.side == BillSide::Out &&
        payment.counterpart == line.counterpart &&
        payment.status.contains(QStringLiteral("退")) &&
        std::abs(payment.amount - line.amount) < kCent &&
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

QString RefundedInFull() { return QStringLiteral("已全额退款"); }

} // namespace

BillSide SideOf(const QString &direction) {
  const QString text = direction.trimmed();
  if (text == QStringLiteral("支出") || text == QStringLiteral("支"))
    return BillSide::Out;
  if (text == QStringLiteral("收入") || text == QStringLiteral("收"))
    return BillSide::In;
  return BillSide::Neutral;
}

bool IsClosedStatus(const QString &status) {
  static const QStringList closed{
      QStringLiteral("交易关闭"), QStringLiteral("支付失败"),
      QStringLiteral("交易失败"), QStringLiteral("已关闭"),
      QStringLiteral("付款失败"), QStringLiteral("已撤销"),
      QStringLiteral("等待付款"), QStringLiteral("已取消"),
      QStringLiteral("订单已取消")};
  return closed.contains(status.trimmed());
}

bool IsRefund(const BillFacts &line) {
  if (line.side == BillSide::Out)
    return false;
  return line.kind.contains(QStringLiteral("退款")) ||
         line.status.contains(QStringLiteral("退款")) ||
         line.goods.startsWith(QStringLiteral("退款"));
}

bool IsRefundedInFull(const QString &status) {
  return status.contains(QStringLiteral("全额退款")) ||
         status.contains(QStringLiteral("对方已退还"));
}

std::vector<BillOutcome> ClassifyBillLines(const std::vector<BillFacts> &lines,
                                           bool refundsCancelPayments,
                                           const QSet<QString> &refundedBefore) {
  std::vector<BillOutcome> outcomes(lines.size());
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].read && IsClosedStatus(lines[i].status))
      outcomes[i].skipped = lines[i].status.trimmed();
  // A closed payment is found too: its refund did not happen either.
  const PaymentIndex index(lines);
  QSet<qsizetype> taken; // payments found by counterpart
  // What is left of each payment after the refunds of this bill.
  std::vector<double> left(lines.size());
  std::vector<bool> refundFound(lines.size(), false);
  for (size_t i = 0; i < lines.size(); ++i)
    left[i] = lines[i].amount;
  for (size_t i = 0; i < lines.size(); ++i) {
    const BillFacts &line = lines[i];
    if (!line.read || !outcomes[i].skipped.isEmpty() || !IsRefund(line))
      continue;
    const qsizetype at = PaymentOf(lines, qsizetype(i), index, taken);
    if (at < 0) {
      const bool before = (!line.merchant.isEmpty() &&
                           refundedBefore.contains(line.merchant)) ||
                          (!line.number.isEmpty() &&
                           refundedBefore.contains(line.number));
      if (before)
        outcomes[i].skipped = QStringLiteral("付款已全额退款");
      else
        outcomes[i].refundIncome = true;
      continue;
    }
    const size_t payment = size_t(at);
    refundFound[payment] = true;
    BillOutcome &paid = outcomes[payment];
    if (!paid.skipped.isEmpty() || lines[payment].side == BillSide::Neutral) {
      // The payment did not happen or was never counted: neither is its
      // refund.
      outcomes[i].skipped =
          lines[payment].side == BillSide::Neutral
              ? CancelsPaymentAt(lines[payment].lineNumber)
              : QStringLiteral("第%1行的付款未导入").arg(lines[payment].lineNumber);
      continue;
    }
    const bool full = line.amount > left[payment] - kCent;
    if (!full && !refundsCancelPayments) {
      outcomes[i].refundIncome = true;
      continue;
    }
    // The refund takes back what is left of its payment; beyond that it is
    // income.
    const double cancelled = std::min(line.amount, std::max(left[payment], 0.0));
    left[payment] -= cancelled;
    const double rest = line.amount - cancelled;
    if (rest < kCent) {
      outcomes[i].skipped = CancelsPaymentAt(lines[payment].lineNumber);
    } else {
      outcomes[i].refundIncome = true;
      outcomes[i].amount = rest;
    }
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    BillOutcome &outcome = outcomes[i];
    const BillFacts &line = lines[i];
    if (!line.read || !outcome.skipped.isEmpty() || !IsPayment(line) ||
        line.side != BillSide::Out)
      continue;
    // Refunded in full by its own word, its refund not in this bill; one
    // whose refund is elsewhere keeps what the bill says was refunded of
    // it, when the user lets refunds cancel payments.
    if (!refundFound[i]) {
      if (IsRefundedInFull(line.status) ||
          (line.refunded > 0 && line.refunded > line.amount - kCent)) {
        outcome.skipped = RefundedInFull();
        continue;
      }
      if (refundsCancelPayments)
        left[i] -= line.refunded;
    }
    if (left[i] > line.amount - kCent)
      continue;
    if (left[i] < kCent)
      outcome.skipped = RefundedInFull();
    else
      outcome.amount = left[i];
  }
  return outcomes;
}
