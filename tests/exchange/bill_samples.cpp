// Bills for the tests; see bill_samples.h.
#include "bill_samples.h"

#include <QFile>
#include <QStringEncoder>

#include <xlsxwriter.h>

namespace {

QByteArray Encode(const QStringList &lines, const char *encoding) {
  QStringEncoder encoder(encoding);
  return encoder.encode(lines.join(QStringLiteral("\r\n")) +
                        QStringLiteral("\r\n"));
}

} // namespace

QString AlipayAppHeader() {
  return QStringLiteral("交易时间,交易分类,交易对方,对方账号,商品说明,收/支,金额,"
                        "收/付款方式,交易状态,交易订单号,商家订单号,备注,");
}

QByteArray AlipayAppBill(const QStringList &rows, bool utf8) {
  const QStringList head{
      QStringLiteral("------------------------------------------------"),
      QStringLiteral("导出信息："),
      QStringLiteral("姓名：张小明"),
      QStringLiteral("支付宝账户：zxm@example.com"),
      QStringLiteral("起始时间：[2024-03-01 00:00:00]    终止时间：[2024-03-31 "
                     "23:59:59]"),
      QStringLiteral("导出交易类型：[全部]"),
      QStringLiteral("共%1笔记录").arg(rows.size()),
      QStringLiteral("特别提示："),
      QStringLiteral("1.本回单内容仅供参考，金额以实际到账为准。"),
      QStringLiteral("---------------------------电子客户回单--------------"
                     "-------------"),
      AlipayAppHeader()};
  return Encode(head + rows, utf8 ? "UTF-8" : "GB18030");
}

QByteArray AlipayWebBill(const QStringList &rows) {
  const QStringList head{
      QStringLiteral("支付宝交易记录明细查询"),
      QStringLiteral("账号:[20880012345678]"),
      QStringLiteral("起始日期:[2016-05-01 00:00:00]    终止日期:[2016-05-31 "
                     "23:59:59]"),
      QStringLiteral("---------------------------------交易记录明细列表------"
                     "------------------------------"),
      QStringLiteral("交易号              ,商家订单号          ,交易创建时间     "
                     "   ,付款时间            ,最近修改时间        ,交易来源地  "
                     "  ,类型              ,交易对方            ,商品名称      "
                     "      ,金额（元）   ,收/支     ,交易状态    ,服务费（元）"
                     "  ,成功退款（元）  ,备注                  ,资金状态     ,")};
  const QStringList tail{
      QStringLiteral("------------------------------------------------------"
                     "------------------------------"),
      QStringLiteral("共%1笔记录").arg(rows.size()),
      QStringLiteral("已收入:0笔,0.00元"),
      QStringLiteral("已支出:2笔,68.00元"),
      QStringLiteral("导出时间:[2016-06-01 10:00:00]    用户:张小明")};
  return Encode(head + rows + tail, "GB18030");
}

QByteArray WeChatBill(const QStringList &rows) {
  const QString empty(10, QLatin1Char(','));
  const QStringList head{
      QStringLiteral("微信支付账单明细") + empty,
      QStringLiteral("微信昵称：[小明]") + empty,
      QStringLiteral("起始时间：[2024-03-01 00:00:00] 终止时间：[2024-03-31 "
                     "23:59:59]") + empty,
      QStringLiteral("导出类型：[全部]") + empty,
      QStringLiteral("共%1笔记录").arg(rows.size()) + empty,
      QStringLiteral("中性交易：充值、提现、理财通购买等") + empty,
      empty,
      QStringLiteral("----------------------微信支付账单明细列表-------------"
                     "-------") + empty,
      QStringLiteral("交易时间,交易类型,交易对方,商品,收/支,金额(元),支付方式,"
                     "当前状态,交易单号,商户单号,备注")};
  return QByteArray("\xEF\xBB\xBF") + Encode(head + rows, "UTF-8");
}

bool WriteWeChatXlsxBill(const QString &path, const QStringList &rows) {
  lxw_workbook *workbook = workbook_new(QFile::encodeName(path).constData());
  lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
  const QStringList head{
      QStringLiteral("微信支付账单明细"), QStringLiteral("微信昵称：[小明]"),
      QStringLiteral("起始时间：[2024-03-01 00:00:00] 终止时间：[2024-03-31 "
                     "23:59:59]"),
      QString(),
      QStringLiteral("----------------------微信支付账单明细列表-------------"
                     "-------"),
      QStringLiteral("交易时间,交易类型,交易对方,商品,收/支,金额(元),支付方式,"
                     "当前状态,交易单号,商户单号,备注")};
  lxw_row_t row = 0;
  for (const QString &line : head + rows) {
    // A cell per field; the amounts of the sample hold no commas.
    const QStringList cells =
        row == 0 || row > 4 ? line.split(QLatin1Char(',')) : QStringList{line};
    for (qsizetype i = 0; i < cells.size(); ++i)
      if (!cells.at(i).isEmpty())
        worksheet_write_string(sheet, row, lxw_col_t(i),
                               cells.at(i).toUtf8().constData(), nullptr);
    ++row;
  }
  return workbook_close(workbook) == LXW_NO_ERROR;
}

QByteArray DebitCardBill(const QStringList &rows) {
  const QStringList head{
      QStringLiteral("借记卡账户交易明细"),
      QStringLiteral("户名：张小明"),
      QStringLiteral("账号：6222********1234"),
      QStringLiteral("起始日期：20240301    终止日期：20240331"),
      QStringLiteral("交易日期,交易时间,收入金额,支出金额,账户余额,交易摘要,对方户名,"
                     "对方账号,交易流水号")};
  return Encode(head + rows, "GB18030");
}

QByteArray CreditCardBill(const QStringList &rows) {
  const QStringList head{
      QStringLiteral("信用卡账单明细"),
      QStringLiteral("持卡人：张小明"),
      QStringLiteral("交易日,记账日,交易描述,卡号末四位,交易地金额,支出,存入")};
  return Encode(head + rows, "GB18030");
}
