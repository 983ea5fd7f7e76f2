// The bills of payment services and banks that the import knows by their
// content. Each layout is data, one JSON file per layout: the built-in ones
// in the program's system/bills folder, the user's own (an unknown bill
// mapped by hand and kept) in the user's data folder. A layout names the
// header columns that recognise it, each with the role it plays, a text of
// a line above the header, the usual encoding, how a line's side (money out
// or in) is given, the bill's own payment channel and the lines that end
// its rows. A layout whose required columns were renamed is not this
// layout; it is read as any statement.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What a column of a bill means.
enum class BillRole {
  Other,       // kept for the user's own mapping, not used by the import
  Date,        // the day of the payment, often with its time
  Time,        // a time of day alone, combined with the date
  Posted,      // the day the bank booked it: the date when there is no other
  Direction,   // 收/支: 支出, 收入, or a neutral mark ("/", 不计收支, 其他)
  Amount,      // an amount; its side is given as the layout says
  Debit,       // money out, as banks write it
  Credit,      // money in
  Flag,        // 借/贷: the side of a positive amount
  Currency,    // 币种
  Original,    // the amount in the currency of a foreign payment
  Counterpart, // 交易对方
  Goods,       // 商品, 商品说明, 商品名称, a bank's 摘要
  Method,      // 收/付款方式, 支付方式
  Status,      // 交易状态, 当前状态
  Kind,        // 交易分类, 交易类型, 类型
  Number,      // the bill's own number of the transaction
  Merchant,    // the merchant's order number, shared by payment and refund
  Remark,      // 备注
  Refunded,    // the amount refunded of a payment (成功退款（元）)
  Fee,         // service fee
  Card,        // the card (or its last digits) a line was paid with
  Balance,     // the balance after the line
};

// How a layout gives the side of a line.
enum class BillSideForm {
  Direction,   // a 收/支 column
  DebitCredit, // separate out and in amount columns
  Signed,      // one amount, negative is money out
  Flag,        // one positive amount and a 借/贷 column
  CreditCard,  // one amount, positive is spending, negative money in
};

struct BillColumn {
  QString header;
  BillRole role = BillRole::Other;
  bool optional = false; // the layout is recognised without it
};

enum class BillSource { Csv, Xlsx, Xls };

struct BillLayout {
  QString id;   // the file's name without ".json"
  QString name; // shown to the user: "支付宝个人对账单"
  QList<BillSource> sources;
  QString encoding; // the encoding the layout usually comes in
  // A text of a line above the header, when the layout has one; it tells
  // layouts with the same columns apart.
  QString marker;
  // The payment method of a line that names none: "微信支付", or
  // "招商银行({card})" with the card's last digits from the bill's head.
  QString channel;
  BillSideForm side = BillSideForm::Signed;
  QStringList flagOut; // Flag: texts (prefixes) of money out
  QStringList flagIn;
  QList<BillColumn> columns; // the header
  // A data line whose first field starts with one of these ends the rows:
  // the summary below the rows is no payment.
  QStringList rowsEnd;
  bool user = false; // one of the user's own layouts

  // The header of the column playing role, or empty.
  QString HeaderOf(BillRole role) const;
  bool ReadsFrom(BillSource source) const { return sources.contains(source); }
};

// The texts of roles and side forms as layout files write them.
QString RoleName(BillRole role);
bool RoleOfName(const QString &name, BillRole *role);

// The layout of a layout file's JSON text; false with the reason when it
// is none.
bool ParseBillLayout(const QByteArray &json, BillLayout *layout,
                     QString *error);
// The JSON text of a layout file.
QByteArray BillLayoutJson(const BillLayout &layout);

// The folder of the built-in layouts (system/bills beside the program) and
// that of the user's own.
QString BuiltInLayoutFolder();
QString UserLayoutFolder();

// Every known layout: the user's own first, then the built-in ones, each
// group in the order of their file names. Read once; ReloadBillLayouts
// reads the folders again (after the user kept a layout).
const QList<BillLayout> &BillLayouts();
void ReloadBillLayouts();

// Keeps layout as one of the user's own under its name (a file named after
// it in the user's folder, replacing one of that name) and reloads the
// layouts; false with a message for the user when it cannot be written.
bool SaveUserLayout(const BillLayout &layout, QString *error);
