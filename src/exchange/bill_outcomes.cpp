// The outcomes of a bill's lines in a check; see bill_outcomes.h.
#include "exchange/bill_outcomes.h"

#include "exchange/bill_values.h"
#include "exchange/import_mapping.h"
#include "exchange/line_conversion.h"
#include "model/column_list.h"

#include <QSet>

namespace {

// The numbers (own and merchant's) of the payments earlier bills left out
// as refunded in full.
QSet<QString> RefundedBefore(const std::vector<SeenLine> &before) {
  QSet<QString> refunded;
  for (const SeenLine &seen : before) {
    if (seen.outcome != QStringLiteral("已全额退款"))
      continue;
    if (!seen.number.isEmpty())
      refunded.insert(seen.number);
    if (!seen.merchant.isEmpty())
      refunded.insert(seen.merchant);
  }
  return refunded;
}

// Why a neutral line of a payment service is not ticked: a top-up or
// withdrawal between a card and the balance is a transfer as in the card's
// bill; other neutral lines are as the bill says.
QString NeutralReason(const BillFacts &fact) {
  const QString own = OwnAccountsReason(
      fact.kind + fact.goods + fact.counterpart, false, false);
  const bool card = fact.kind.contains(QStringLiteral("充值")) ||
                    fact.kind.contains(QStringLiteral("提现")) ||
                    fact.goods.contains(QStringLiteral("充值")) ||
                    fact.goods.contains(QStringLiteral("提现"));
  return own == QStringLiteral("账户间转账") && card
             ? own
             : QStringLiteral("不计收支");
}

} // namespace

void DecideBillLines(const ColumnList &columns, const ImportMapping &mapping,
                     bool refundsCancelPayments,
                     const std::vector<BillFacts> &facts,
                     const std::vector<SeenLine> &before,
                     std::vector<CheckedLine> &lines) {
  if (!ReadsBill(mapping))
    return;
  const bool sides = columns.PositionOf(mapping.directionField) >= 0;
  const int amountPosition = columns.PositionOf(mapping.amountField);
  const int directionPosition = columns.PositionOf(mapping.directionField);
  const std::vector<BillOutcome> outcomes = ClassifyBillLines(
      facts, refundsCancelPayments, RefundedBefore(before));
  for (size_t i = 0; i < lines.size(); ++i) {
    CheckedLine &line = lines[i];
    const BillOutcome &outcome = outcomes[i];
    if (line.state == LineState::Bad)
      continue;
    if (!outcome.skipped.isEmpty()) {
      line.state = LineState::Skipped;
      line.ticked = false;
      line.reason = outcome.skipped;
      continue;
    }
    BillSide side = facts[i].side;
    if (outcome.refundIncome)
      side = BillSide::In;
    // What the bill decides of the amount gives way to what a rule set.
    if ((outcome.refundIncome || outcome.amount >= 0) &&
        !line.ruleSet.contains(amountPosition)) {
      const double amount =
          outcome.amount >= 0 ? outcome.amount : facts[i].amount;
      const QString direction =
          directionPosition >= 0 && directionPosition < line.texts.size()
              ? line.texts.at(directionPosition)
              : QString();
      QStringList texts = line.texts;
      WriteAmount(columns, mapping, side == BillSide::Out ? -amount : amount,
                  false, &texts);
      if (line.ruleSet.contains(directionPosition))
        texts[directionPosition] = direction;
      line.texts = texts;
    }
    if (side == BillSide::Neutral && !mapping.directionColumn.isEmpty()) {
      line.ticked = false;
      line.reason = NeutralReason(facts[i]);
    } else if (side == BillSide::In && !mapping.directionColumn.isEmpty() &&
               !sides) {
      line.ticked = false;
      line.reason = QStringLiteral("账簿没有收支列");
    }
  }
}

void MarkOwnAccounts(const ImportMapping &mapping, bool creditCard,
                     const BillFacts &fact, CheckedLine &line) {
  if (line.state != LineState::New || !line.ticked)
    return;
  const QString reason =
      OwnAccountsReason(fact.kind + fact.goods + fact.counterpart,
                        fact.side == BillSide::Out, creditCard);
  // A payment service says itself which lines move its balance.
  if (reason.isEmpty() || (reason == QStringLiteral("账户间转账") &&
                           !mapping.directionColumn.isEmpty()))
    return;
  line.ticked = false;
  line.reason = reason;
}
