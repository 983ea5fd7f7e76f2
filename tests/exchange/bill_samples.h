// Bills written for the tests in the layouts of Alipay, WeChat Pay and a
// bank: each is its layout's head, header and the given rows (CSV lines
// without line ends), encoded as the service writes it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// 支付宝 personal bill from the app, GB18030 (or UTF-8 when utf8).
QByteArray AlipayAppBill(const QStringList &rows, bool utf8 = false);
// 支付宝 older web export, GB18030, with its summary under the rows.
QByteArray AlipayWebBill(const QStringList &rows);
// 微信支付 bill, UTF-8 with a byte order mark.
QByteArray WeChatBill(const QStringList &rows);
// A bank's debit-card statement, GB18030.
QByteArray DebitCardBill(const QStringList &rows);
// 微信支付 bill as the XLSX newer versions send, written to path (the rows
// as the CSV's, cut at commas outside quotes); whether it was written.
bool WriteWeChatXlsxBill(const QString &path, const QStringList &rows);
// A bank's credit-card bill, GB18030.
QByteArray CreditCardBill(const QStringList &rows);
// The header line of the Alipay app bill.
QString AlipayAppHeader();
