// The same payment in two bills. A household that imports its bank card's
// statement and its Alipay and WeChat bills sees each payment made through
// a payment service with that card twice: in the service's bill (paid with
// 招商银行(1234)) and in the card's (支付宝-美团, 财付通-…). A payment of one
// bill is the same as a stored line of the other kind of bill when the
// amounts are equal, the card the service names is the bill's card, the
// bank's description names the service, and the days are at most three
// apart. Each stored line stands for one payment.
#pragma once

#include "exchange/bill_seen.h"

#include <QMultiHash>

#include <functional>
#include <vector>

class SameMoney {
public:
  // seen: the lines stored before; service: the payment service this bill
  // is of ("支付宝", "微信支付"), empty for a bank's; channel: the bill's own
  // ("招商银行(1234)"), which names the card a bank's bill is for.
  SameMoney(const std::vector<SeenLine> &seen, const QString &service,
            const QString &channel);

  // The stored line that is the same payment as line (of this bill), or
  // null; exists tells whether its record is still there. A line found is
  // not found again.
  const SeenLine *Match(const SeenLine &line,
                        const std::function<bool(const SeenLine &)> &exists);

private:
  bool Fits(const SeenLine &stored, const SeenLine &line) const;
  // Whether the days of the two lines are at most three apart.
  bool Near(const SeenLine &stored, const SeenLine &line) const;

  const std::vector<SeenLine> &seen_;
  QString service_;
  QString card_;
  std::vector<bool> used_;
  QMultiHash<qint64, size_t> byCents_; // stored payments by their amount
};

// "与支付宝账单第N行（已导入）是同一笔"
QString SameMoneyReason(const SeenLine &stored);

// The name a bill is kept under in the lines seen: "支付宝账单" and "微信账单"
// for the payment services' bills, else name.
QString SeenBillName(const QString &channel, const QString &name);
