// Values of bill lines; see bill_values.h.
#include "exchange/bill_values.h"

#include "exchange/statement_values.h"
#include "formula/format_decimal.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

bool IsPlaceholder(const QString &text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty() || !trimmed.compare(QLatin1String("null"), Qt::CaseInsensitive))
    return true;
  for (const QChar c : trimmed)
    if (c != QLatin1Char('-') && c != QLatin1Char('/') && c != QChar(0x2014) &&
        c != QChar(0xFF0D) && c != QLatin1Char(' ') && c != QChar(0x2013))
      return false;
  return true;
}

QString ValueOrEmpty(const QString &text) {
  return IsPlaceholder(text) ? QString() : text.trimmed();
}

QString TimeOfDayText(const QString &text) {
  static const QRegularExpression time(QStringLiteral(
      "^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$|^\\s*(\\d{2})(\\d{2})(\\d{2})\\s*$"));
  const QRegularExpressionMatch match = time.match(text);
  if (!match.hasMatch())
    return QString();
  const int base = match.hasCaptured(1) ? 1 : 4;
  const int hour = match.captured(base).toInt();
  const int minute = match.captured(base + 1).toInt();
  const int second = match.captured(base + 2).toInt();
  if (hour > 23 || minute > 59 || second > 59)
    return QString();
  return QStringLiteral("%1:%2:%3")
      .arg(hour)
      .arg(minute, 2, 10, QLatin1Char('0'))
      .arg(second, 2, 10, QLatin1Char('0'));
}

QString AmountWithoutNote(const QString &text, double *refunded) {
  *refunded = 0;
  static const QRegularExpression note(
      QStringLiteral("^(.*?\\d)\\s*[(（]([^()（）]*)[)）]\\s*$"));
  const QRegularExpressionMatch match = note.match(text);
  if (!match.hasMatch())
    return text;
  const QString inside = match.captured(2);
  if (!inside.contains(QStringLiteral("退款")))
    return text;
  static const QRegularExpression number(QStringLiteral("([0-9][0-9,]*(?:\\.[0-9]+)?)"));
  const QRegularExpressionMatch amount = number.match(inside);
  double value = 0;
  if (inside.contains(QStringLiteral("全额")))
    *refunded = -1;
  else if (amount.hasMatch() && ParseAmount(amount.captured(1), false, &value))
    *refunded = value;
  return match.captured(1);
}

double RoundedMoney(double value) {
  bool ok = false;
  const double rounded = FormatDecimal(value, 2).toDouble(&ok);
  return ok ? rounded : value;
}

QString MoneyText(double value) {
  const QString text = FormatDecimal(value, 2);
  return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

bool IsYuan(const QString &currency) {
  static const QStringList yuan{"", "CNY", "RMB", "人民币", "人民币元", "156",
                                "元", "本币"};
  return yuan.contains(currency.trimmed(), Qt::CaseInsensitive);
}

QString FittingOption(const QString &name, const QStringList &options) {
  const QString wanted = name.trimmed();
  if (wanted.isEmpty())
    return QString();
  if (options.contains(wanted))
    return wanted;
  // "招商银行信用卡(1234)" contains "信用卡": the longest such option.
  QStringList inside;
  for (const QString &option : options)
    if (!option.isEmpty() && wanted.contains(option))
      inside.append(option);
  if (!inside.isEmpty())
    return *std::max_element(inside.cbegin(), inside.cend(),
                             [](const QString &a, const QString &b) {
                               return a.size() < b.size();
                             });
  // "零钱" is "微信零钱": the shortest option holding the name.
  QStringList holding;
  for (const QString &option : options)
    if (option.contains(wanted))
      holding.append(option);
  if (!holding.isEmpty())
    return *std::min_element(holding.cbegin(), holding.cend(),
                             [](const QString &a, const QString &b) {
                               return a.size() < b.size();
                             });
  // A bank's debit card, by the words banks and payment services use.
  static const QRegularExpression bankCard(
      QStringLiteral("银行|储蓄卡|借记卡|银联"));
  const QString card = QStringLiteral("银行卡");
  if (options.contains(card) && bankCard.match(wanted).hasMatch())
    return card;
  return QString();
}

QString OwnAccountsReason(const QString &text, bool out, bool creditCard) {
  static const QRegularExpression repayment(
      QStringLiteral("信用卡.*还款|还款.*信用卡|自动还款|花呗.*还款|白条.*还款|月付.*还款|"
                     "还款.*(?:花呗|白条|月付)"));
  if (repayment.match(text).hasMatch() ||
      (creditCard && !out && text.contains(QStringLiteral("还款"))))
    return QStringLiteral("信用卡还款");
  static const QRegularExpression move(QStringLiteral("提现|充值|转入|转出"));
  static const QRegularExpression balance(
      QStringLiteral("支付宝|微信|财付通|零钱|余额宝|余额"));
  if (move.match(text).hasMatch() && balance.match(text).hasMatch())
    return QStringLiteral("账户间转账");
  return QString();
}

QString PaymentServiceIn(const QString &text) {
  if (text.contains(QStringLiteral("支付宝")))
    return QStringLiteral("支付宝");
  if (text.contains(QStringLiteral("财付通")) || text.contains(QStringLiteral("微信")))
    return QStringLiteral("微信支付");
  return QString();
}
