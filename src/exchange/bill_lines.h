// What the lines of a payment bill become, decided over the whole bill:
// closed payments (交易关闭, 支付失败, ...) are not imported; a refund (退款)
// is income, except that a payment refunded in full together with its
// refund in the same bill cancel each other, and that the user may choose
// to let every refund cancel (all or part of) its payment in the bill: the
// payment is lowered by what was refunded and keeps the rest, and what a
// refund returns beyond its payment is income. A payment whose own status
// says it was refunded in full is left out, with its refund here or in a
// later bill. A refund finds its payment by the merchant's order number in
// either direction (the refund's own number may be the payment's merchant
// number), by the same number, by its own number starting with the
// payment's, or else as the payment to the same counterpart of the same
// amount marked refunded.
#pragma once

#include <QSet>
#include <QString>

#include <vector>

enum class BillSide { Out, In, Neutral };

// 支出 is money out, 收入 money in; anything else ("/", 不计收支, empty) is
// neutral: transfers between one's own accounts, top-ups, withdrawals.
BillSide SideOf(const QString &direction);

// What a bill line says of itself.
struct BillFacts {
  int lineNumber = 0;
  bool read = false; // the line converts to a record
  BillSide side = BillSide::Neutral;
  double amount = 0;   // the amount, positive
  double refunded = 0; // the part of a payment refunded, positive
  QString status;
  QString kind;
  QString number;
  QString merchant;
  QString counterpart;
  QString goods;
  QString method;
  QString moment; // the stored date and time text
};

// What the bill makes of a line that reads.
struct BillOutcome {
  QString skipped;           // why it is not imported; empty: it is
  bool refundIncome = false; // a refund, imported as income
  double amount = -1;        // >= 0: the payment's amount left after refunds
};

// Whether status is one of a payment that did not happen.
bool IsClosedStatus(const QString &status);
// Whether the line is the refund of a payment.
bool IsRefund(const BillFacts &line);
// Whether a payment's status says it was refunded in full.
bool IsRefundedInFull(const QString &status);

// refundedBefore holds the numbers (own and merchant's) of payments left
// out of earlier bills as refunded in full: their refunds are left out.
std::vector<BillOutcome> ClassifyBillLines(
    const std::vector<BillFacts> &lines, bool refundsCancelPayments,
    const QSet<QString> &refundedBefore = {});
