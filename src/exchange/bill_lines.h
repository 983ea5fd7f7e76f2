// What the lines of a payment bill become, decided over the whole bill:
// closed payments (交易关闭, 支付失败, ...) are not imported; a refund (退款)
// is income, except that a payment refunded in full together with its
// refund in the same bill cancel each other, and that the user may choose
// to let every refund cancel (all or part of) its payment in the bill. A
// refund finds its payment by the merchant's order number, which both
// carry, by its own number starting with the payment's, or else as the
// payment to the same counterpart of the same amount marked refunded in
// full.
#pragma once

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

std::vector<BillOutcome> ClassifyBillLines(const std::vector<BillFacts> &lines,
                                           bool refundsCancelPayments);
