// The table of known bill layouts; see bill_layouts.h.
#include "exchange/bill_layouts.h"

namespace {

using R = BillRole;

BillLayout Layout(const char *name, BillSource source, const char *encoding,
                  const char *marker,
                  std::initializer_list<std::pair<const char *, BillRole>> columns,
                  const char *rowsEnd) {
  BillLayout layout;
  layout.name = QString::fromUtf8(name);
  layout.source = source;
  layout.encoding = QString::fromUtf8(encoding);
  layout.marker = QString::fromUtf8(marker);
  for (const auto &[header, role] : columns)
    layout.columns.append({QString::fromUtf8(header), role});
  layout.rowsEnd = QString::fromUtf8(rowsEnd);
  return layout;
}

QList<BillLayout> MakeLayouts() {
  // The summary below the rows of a payment service's bill starts with a
  // line of dashes.
  const char *dashes = "------";
  const std::initializer_list<std::pair<const char *, BillRole>> wechat{
      {"交易时间", R::Time},     {"交易类型", R::Kind},
      {"交易对方", R::Counterpart}, {"商品", R::Goods},
      {"收/支", R::Direction},   {"金额(元)", R::Amount},
      {"支付方式", R::Method},   {"当前状态", R::Status},
      {"交易单号", R::Number},   {"商户单号", R::Merchant},
      {"备注", R::Remark}};
  return {
      Layout("支付宝个人对账单", BillSource::Csv, "GB18030", "",
             {{"交易时间", R::Time},
              {"交易分类", R::Kind},
              {"交易对方", R::Counterpart},
              {"对方账号", R::Other},
              {"商品说明", R::Goods},
              {"收/支", R::Direction},
              {"金额", R::Amount},
              {"收/付款方式", R::Method},
              {"交易状态", R::Status},
              {"交易订单号", R::Number},
              {"商家订单号", R::Merchant},
              {"备注", R::Remark}},
             dashes),
      Layout("支付宝交易记录（网页版）", BillSource::Csv, "GB18030", "",
             {{"交易号", R::Number},
              {"商家订单号", R::Merchant},
              {"交易创建时间", R::Time},
              {"付款时间", R::Other},
              {"最近修改时间", R::Other},
              {"交易来源地", R::Other},
              {"类型", R::Kind},
              {"交易对方", R::Counterpart},
              {"商品名称", R::Goods},
              {"金额（元）", R::Amount},
              {"收/支", R::Direction},
              {"交易状态", R::Status},
              {"服务费（元）", R::Fee},
              {"成功退款（元）", R::Refunded},
              {"备注", R::Remark},
              {"资金状态", R::Other}},
             dashes),
      Layout("微信支付账单", BillSource::Csv, "UTF-8", "微信支付账单明细列表",
             wechat, dashes),
      Layout("微信支付账单（XLSX）", BillSource::Xlsx, "", "微信支付账单明细列表",
             wechat, dashes),
      // A bank's debit card: money in and out in two columns, the bank's
      // serial number for each line.
      Layout("银行借记卡交易明细", BillSource::Csv, "GB18030", "",
             {{"交易日期", R::Time},
              {"交易时间", R::Other},
              {"收入金额", R::Credit},
              {"支出金额", R::Debit},
              {"账户余额", R::Other},
              {"交易摘要", R::Goods},
              {"对方户名", R::Counterpart},
              {"对方账号", R::Other},
              {"交易流水号", R::Number}},
             ""),
      // A credit card: purchases (支出) and repayments (存入) with "¥" and
      // thousands commas, the last digits of the card.
      Layout("银行信用卡账单", BillSource::Csv, "GB18030", "",
             {{"交易日", R::Time},
              {"记账日", R::Other},
              {"交易描述", R::Goods},
              {"卡号末四位", R::Other},
              {"交易地金额", R::Other},
              {"支出", R::Debit},
              {"存入", R::Credit}},
             ""),
  };
}

} // namespace

QString BillLayout::HeaderOf(BillRole role) const {
  for (const BillColumn &column : columns)
    if (column.role == role)
      return column.header;
  return {};
}

const QList<BillLayout> &BillLayouts() {
  static const QList<BillLayout> layouts = MakeLayouts();
  return layouts;
}
