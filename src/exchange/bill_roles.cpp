// Guessed roles of a statement's columns; see bill_roles.h.
#include "exchange/bill_roles.h"

#include <QRegularExpression>

namespace {

struct RoleNames {
  BillRole role;
  QStringList names; // compared without letter case; the first found wins
};

// The names, most telling first within a role. A bill of Meituan gives
// 订单金额 and 实付金额: the amount is what was paid.
const QList<RoleNames> &Names() {
  static const QList<RoleNames> names{
      {BillRole::Direction,
       {"收/支", "收支", "收支类型", "资金方向", "收付方向", "收/付"}},
      {BillRole::Flag,
       {"借贷", "借贷标志", "借/贷", "借贷方向", "借贷标识", "借贷类型", "收支标志",
        "收付标志", "资金流向", "dr/cr"}},
      {BillRole::Date,
       {"交易日期", "交易日", "交易时间", "日期", "时间", "交易创建时间",
        "创建时间", "付款时间", "下单时间", "支付时间", "记账日期", "入账日期",
        "date", "transaction date", "booking date", "posted", "datum",
        "buchungstag"}},
      {BillRole::Posted, {"记账日", "记账日期", "入账日期", "入账日"}},
      {BillRole::Amount,
       {"实付金额", "人民币金额", "记账金额", "入账金额", "交易金额",
        "交易金额(元)", "交易金额（元）", "金额(元)", "金额（元）", "金额",
        "发生额", "交易额", "本币金额", "amount", "betrag", "value"}},
      {BillRole::Debit,
       {"支出金额", "支出", "借方金额", "借方发生额", "借方", "转出金额",
        "取出金额", "付款金额", "debit", "withdrawal", "soll"}},
      {BillRole::Credit,
       {"收入金额", "收入", "存入金额", "存入", "贷方金额", "贷方发生额", "贷方",
        "转入金额", "收款金额", "credit", "deposit", "haben"}},
      {BillRole::Currency, {"币种", "币别", "货币", "交易币种", "currency"}},
      {BillRole::Original,
       {"交易地金额", "原币金额", "原始金额", "交易币种金额", "外币金额"}},
      {BillRole::Balance,
       {"余额", "账户余额", "可用余额", "本次余额", "联机余额", "balance"}},
      {BillRole::Counterpart,
       {"交易对方", "对方户名", "对方名称", "对方账户名", "对方账户名称",
        "收/付款方", "对手方", "对方", "商户名称", "商户", "payee", "name"}},
      {BillRole::Goods,
       {"商品", "商品说明", "商品名称", "交易摘要", "摘要", "交易描述",
        "交易说明", "用途", "附言", "说明", "描述", "名称", "memo",
        "description", "verwendungszweck"}},
      {BillRole::Remark, {"备注", "交易备注"}},
      {BillRole::Method,
       {"支付方式", "收/付款方式", "付款方式", "交易方式", "交易渠道", "渠道"}},
      {BillRole::Status, {"交易状态", "当前状态", "状态", "订单状态"}},
      {BillRole::Kind,
       {"交易分类", "交易类型", "类型", "业务类型", "交易种类", "分类"}},
      {BillRole::Number,
       {"交易订单号", "交易单号", "交易号", "交易流水号", "流水号", "订单号",
        "交易编号", "业务流水号"}},
      {BillRole::Merchant, {"商家订单号", "商户单号", "商户订单号"}},
      {BillRole::Card, {"卡号末四位", "卡号", "交易卡号", "卡号后四位"}},
      {BillRole::Refunded, {"成功退款（元）", "成功退款(元)", "退款金额"}},
      {BillRole::Fee, {"服务费（元）", "服务费(元)", "服务费", "手续费"}},
  };
  return names;
}

bool IsTimeOfDay(const QString &text) {
  static const QRegularExpression time(
      QStringLiteral("^\\s*\\d{1,2}:\\d{2}(?::\\d{2})?\\s*$"));
  return time.match(text).hasMatch();
}

// Whether every filled value of a column is a time of day, and one is.
bool AllTimesOfDay(const QStringList &values) {
  bool any = false;
  for (const QString &value : values) {
    if (value.trimmed().isEmpty())
      continue;
    if (!IsTimeOfDay(value))
      return false;
    any = true;
  }
  return any;
}

bool Has(const BillLayout &layout, BillRole role) {
  return !layout.HeaderOf(role).isEmpty();
}

} // namespace

QStringList SampleValues(const std::vector<SourceLine> &sample,
                         const QStringList &headers, const QString &header) {
  QStringList values;
  const qsizetype index = ColumnIndex(headers, header);
  if (index < 0)
    return values;
  for (const SourceLine &line : sample)
    if (!line.footer && line.problem.isEmpty())
      values.append(line.fields.value(index));
  return values;
}

BillLayout InferBillLayout(const QStringList &headers,
                           const std::vector<SourceLine> &sample,
                           const QString &headText) {
  BillLayout layout;
  layout.name = QStringLiteral("未知格式");
  layout.sources = {BillSource::Csv, BillSource::Xlsx, BillSource::Xls};
  QList<BillColumn> columns;
  for (const QString &header : headers)
    columns.append({header.trimmed(), BillRole::Other, true});
  // A column of times of day is the time of the date.
  for (BillColumn &column : columns)
    if (AllTimesOfDay(SampleValues(sample, headers, column.header)))
      column.role = BillRole::Time;
  // Role by role, the most telling name first, each role taken once.
  for (const RoleNames &names : Names()) {
    bool taken = false;
    for (const QString &name : names.names) {
      for (BillColumn &column : columns) {
        if (taken || column.role != BillRole::Other ||
            column.header.compare(name, Qt::CaseInsensitive))
          continue;
        column.role = names.role;
        taken = true;
      }
    }
  }
  layout.columns = columns;
  if (Has(layout, BillRole::Direction))
    layout.side = BillSideForm::Direction;
  else if (Has(layout, BillRole::Debit) && Has(layout, BillRole::Credit))
    layout.side = BillSideForm::DebitCredit;
  else if (Has(layout, BillRole::Flag) && Has(layout, BillRole::Amount))
    layout.side = BillSideForm::Flag;
  else if (Has(layout, BillRole::Amount))
    layout.side = headText.contains(QStringLiteral("信用卡"))
                      ? BillSideForm::CreditCard
                      : BillSideForm::Signed;
  else
    layout.side = BillSideForm::DebitCredit;
  layout.flagOut = {QStringLiteral("借"), QStringLiteral("支"),
                    QStringLiteral("出"), QStringLiteral("Dr"),
                    QStringLiteral("D")};
  layout.flagIn = {QStringLiteral("贷"), QStringLiteral("收"),
                   QStringLiteral("入"), QStringLiteral("Cr"),
                   QStringLiteral("C")};
  return layout;
}
