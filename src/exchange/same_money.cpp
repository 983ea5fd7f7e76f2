// The same payment in two bills; see same_money.h.
#include "exchange/same_money.h"

#include "base/date_text.h"
#include "exchange/bill_values.h"

#include <QRegularExpression>

#include <cmath>

namespace {

constexpr int kMostDaysApart = 3;

// The last four digits a payment method or channel names ("招商银行(1234)").
QString CardDigits(const QString &text) {
  static const QRegularExpression digits(QStringLiteral("(\\d{4})\\D*$"));
  const QRegularExpressionMatch match = digits.match(text);
  return match.hasMatch() ? match.captured(1) : QString();
}

bool NamesACard(const QString &method) {
  static const QRegularExpression card(
      QStringLiteral("银行|信用卡|储蓄卡|借记卡|银联|\\(\\d{4}\\)|（\\d{4}）"));
  return card.match(method).hasMatch();
}

qint64 Cents(double amount) { return qint64(std::llround(amount * 100)); }

QDate DayOf(const QString &moment) {
  const DateValue value = ParseDateTime(moment);
  return value.IsValid() ? value.Date() : QDate();
}

} // namespace

SameMoney::SameMoney(const std::vector<SeenLine> &seen, const QString &service,
                     const QString &channel)
    : seen_(seen), service_(service), card_(CardDigits(channel)),
      used_(seen.size(), false) {
  // Only the stored payments of the other kind of bill can be the same:
  // the card's lines naming a service for a service's bill, the services'
  // lines paid with a card for a card's.
  for (size_t i = 0; i < seen.size(); ++i) {
    const SeenLine &line = seen[i];
    if (!line.Stored() || line.side != 1)
      continue;
    const bool serviceBill = !PaymentServiceIn(line.bill).isEmpty();
    const bool candidate =
        service_.isEmpty()
            ? serviceBill && NamesACard(line.method)
            : !serviceBill && PaymentServiceIn(line.goods + line.counterpart) == service_;
    if (candidate)
      byCents_.insert(Cents(line.amount), i);
  }
}

bool SameMoney::Fits(const SeenLine &stored, const SeenLine &line) const {
  if (!stored.Stored() || stored.side != 1 ||
      std::abs(stored.amount - line.amount) >= 0.005 || !Near(stored, line))
    return false;
  if (!service_.isEmpty()) {
    // This is the service's bill: the stored line is the card's, naming
    // the service; the card is the one this line was paid with.
    if (PaymentServiceIn(stored.bill) == service_ ||
        PaymentServiceIn(stored.goods + stored.counterpart) != service_)
      return false;
    const QString paid = CardDigits(line.method), bank = CardDigits(stored.method);
    return paid.isEmpty() || bank.isEmpty() || paid == bank;
  }
  // This is the card's bill: the stored line is the service's, paid with
  // this card.
  const QString service = PaymentServiceIn(line.goods + line.counterpart);
  if (service.isEmpty() || PaymentServiceIn(stored.bill) != service ||
      !NamesACard(stored.method))
    return false;
  const QString paid = CardDigits(stored.method);
  return paid.isEmpty() || card_.isEmpty() || paid == card_;
}

bool SameMoney::Near(const SeenLine &stored, const SeenLine &line) const {
  const QDate a = DayOf(stored.moment), b = DayOf(line.moment);
  return a.isValid() && b.isValid() && std::abs(a.daysTo(b)) <= kMostDaysApart;
}

const SeenLine *SameMoney::Match(
    const SeenLine &line, const std::function<bool(const SeenLine &)> &exists) {
  if (line.side != 1)
    return nullptr;
  if (!service_.isEmpty() && !NamesACard(line.method))
    return nullptr;
  for (const size_t i : byCents_.values(Cents(line.amount))) {
    if (used_[i] || !Fits(seen_[i], line) || !exists(seen_[i]))
      continue;
    used_[i] = true;
    return &seen_[i];
  }
  return nullptr;
}

QString SameMoneyReason(const SeenLine &stored) {
  return QStringLiteral("与%1第%2行（已导入）是同一笔").arg(stored.bill).arg(stored.line);
}

QString SeenBillName(const QString &channel, const QString &name) {
  const QString service = PaymentServiceIn(channel);
  if (service == QStringLiteral("支付宝"))
    return QStringLiteral("支付宝账单");
  if (service == QStringLiteral("微信支付"))
    return QStringLiteral("微信账单");
  return name.isEmpty() ? QStringLiteral("对账单") : name;
}
