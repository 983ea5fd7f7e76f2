// What the lines of a bill become, decided over the whole bill.
#include "exchange/bill_lines.h"

#include <gtest/gtest.h>

namespace {

BillFacts Line(int number, BillSide side, double amount, const char *status,
               const char *merchant = "", const char *billNumber = "",
               double refunded = 0) {
  BillFacts line;
  line.lineNumber = number;
  line.read = true;
  line.side = side;
  line.amount = amount;
  line.status = QString::fromUtf8(status);
  line.merchant = QString::fromUtf8(merchant);
  line.number = QString::fromUtf8(billNumber);
  line.refunded = refunded;
  return line;
}

// "skipped" or "income" or the amount left, or "" for a line as it is.
std::vector<std::string> Outcomes(const std::vector<BillFacts> &lines,
                                  bool cancel) {
  std::vector<std::string> texts;
  for (const BillOutcome &outcome : ClassifyBillLines(lines, cancel))
    texts.push_back(!outcome.skipped.isEmpty() ? outcome.skipped.toStdString()
                    : outcome.refundIncome     ? "income"
                    : outcome.amount >= 0 ? std::to_string(int(outcome.amount))
                                          : "");
  return texts;
}

} // namespace

TEST(BillLines, RefundsFindTheirPaymentsByMerchantOrNumber) {
  std::vector<BillFacts> lines{
      Line(1, BillSide::Out, 55, "交易关闭", "T1"),
      Line(2, BillSide::Neutral, 55, "退款成功", "T1"), // of a closed payment
      Line(3, BillSide::Out, 80, "交易成功", "", "2024001"),
      Line(4, BillSide::Neutral, 30, "退款成功", "", "2024001_1"),
      Line(5, BillSide::In, 12, "退款成功", "T9"), // payment in another bill
      Line(6, BillSide::Out, 38, "交易成功", "", "", 38), // refunded in full
      Line(7, BillSide::Out, 10, "支付成功"),
      // No shared number: the payment to the counterpart refunded in full.
      Line(8, BillSide::Out, 20, "已全额退款", "", "4200008"),
      Line(9, BillSide::In, 20, "已全额退款", "", "5000009"),
  };
  lines[7].counterpart = lines[8].counterpart = QStringLiteral("京东");
  EXPECT_EQ(Outcomes(lines, false),
            (std::vector<std::string>{"交易关闭", "第1行的付款未导入", "",
                                      "income", "income", "已全额退款", "",
                                      "已全额退款", "与第8行的付款相抵"}));
  EXPECT_EQ(Outcomes(lines, true),
            (std::vector<std::string>{"交易关闭", "第1行的付款未导入", "50",
                                      "与第3行的付款相抵", "income",
                                      "已全额退款", "", "已全额退款",
                                      "与第8行的付款相抵"}));
}
