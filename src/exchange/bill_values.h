// The values of a bill line as the import reads them: placeholders that
// mean nothing ("/", "-", a row of dashes), times of day in the forms banks
// write, amounts with the notes payment services add ("129.00(已退款20.00)"),
// money rounded to the cent, foreign currencies, the payment names a
// ledger's options stand for, and the lines that move money between the
// household's own accounts.
#pragma once

#include <QString>
#include <QStringList>

// Whether text says "no value": empty, blanks, "/", "-", dashes, "null".
bool IsPlaceholder(const QString &text);
// text, or empty when it is a placeholder.
QString ValueOrEmpty(const QString &text);

// The time of day of text ("12:30", "12:30:05", "123005") as "H:mm:ss", or
// a null text when it is none.
QString TimeOfDayText(const QString &text);

// An amount text without what a payment service writes after it in
// brackets ("129.00(已退款20.00)" is "129.00"); *refunded gets the amount
// the note says was refunded (0 when none, -1 for "已全额退款").
QString AmountWithoutNote(const QString &text, double *refunded);

// The most an amount of money may be: 15 significant digits with cents.
inline constexpr double kMaxMoney = 1e13;
// value rounded to the cent as the formulas' number texts round, as stored
// text ("12.35", "-5", "0.1").
QString MoneyText(double value);
// value rounded to the cent.
double RoundedMoney(double value);

// Whether currency (a bill's 币种) names the yuan, or names nothing.
bool IsYuan(const QString &currency);

// The option among options that a bill's payment name stands for: the
// option itself, one that contains it or that it contains ("零钱" is
// "微信零钱"), or one of its kind (a bank card "招商银行(1234)" is
// "银行卡", a credit card "信用卡"); empty when none does.
QString FittingOption(const QString &name, const QStringList &options);

// Why a line is money between the household's own accounts: "信用卡还款"
// for a credit card's repayment, "账户间转账" for a top-up or withdrawal
// between a card and a payment service's balance; empty when it is none.
// text holds the line's kind, goods and counterpart; out tells its side.
QString OwnAccountsReason(const QString &text, bool out, bool creditCard);

// Whether text (a bank line's description) names a payment service that
// pays with the card: 支付宝, 财付通 (WeChat Pay), 微信.
QString PaymentServiceIn(const QString &text);
