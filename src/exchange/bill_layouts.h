// The bills of payment services and banks that the import knows by their
// content: Alipay's personal bill (the current one the app mails and the
// older web export), WeChat Pay's bill (CSV and XLSX) and a bank's
// debit-card and credit-card statements. Each layout is data: the header
// columns that recognise it, each with the role it plays, a text of the
// line above the header, the usual encoding, and the line that ends its
// rows. A layout whose columns were renamed is not this layout; it is read
// as any statement.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What a column of a bill means.
enum class BillRole {
  Other,        // kept for the user's own mapping, not used by the import
  Time,         // the moment of the payment (date, often with a time)
  Direction,    // 收/支: 支出, 收入, or a neutral mark ("/", 不计收支)
  Amount,       // a positive amount, "¥" or "￥" and thousands commas allowed
  Debit,        // money out, as banks write it
  Credit,       // money in
  Counterpart,  // 交易对方
  Goods,        // 商品, 商品说明, 商品名称, a bank's 摘要
  Method,       // 收/付款方式, 支付方式
  Status,       // 交易状态, 当前状态
  Kind,         // 交易分类, 交易类型, 类型
  Number,       // the bill's own number of the transaction
  Merchant,     // the merchant's order number, shared by payment and refund
  Remark,       // 备注
  Refunded,     // the amount refunded of a payment (成功退款（元）)
  Fee,          // service fee
};

struct BillColumn {
  QString header;
  BillRole role = BillRole::Other;
};

enum class BillSource { Csv, Xlsx };

struct BillLayout {
  QString name;      // shown to the user: "支付宝个人对账单"
  BillSource source = BillSource::Csv;
  QString encoding;  // the encoding the layout usually comes in
  // A text of a line above the header, when the layout has one; it tells
  // layouts with the same columns apart.
  QString marker;
  QList<BillColumn> columns; // all of them make the header
  // A data line whose first field starts with this text ends the rows: the
  // summary below the rows is no payment.
  QString rowsEnd;

  // The header of the column playing role, or empty.
  QString HeaderOf(BillRole role) const;
};

// Every known layout, the more specific first.
const QList<BillLayout> &BillLayouts();
