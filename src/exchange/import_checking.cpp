// Checking the lines of a statement; see import_checking.h.
#include "exchange/import_checking.h"

#include "db/db_visiter.h"
#include "document/account_file.h"
#include "exchange/bill_outcomes.h"
#include "exchange/bill_values.h"
#include "exchange/duplicate_lines.h"
#include "exchange/import_records.h"
#include "exchange/import_rules.h"
#include "exchange/line_conversion.h"
#include "exchange/opened_statement.h"
#include "exchange/same_money.h"
#include "exchange/statement_source.h"
#include "model/column_list.h"
#include "model/field_type.h"
#include "records/record_cell_text.h"

#include <memory>
#include <vector>

namespace {

// Whether the statement is a credit card's: its spending is positive.
bool IsCreditCard(const OpenedStatement &statement,
                  const ImportMapping &mapping) {
  return mapping.spendingPositive ||
         (statement.layout &&
          statement.layout->name.contains(QStringLiteral("信用卡"))) ||
         statement.head.text.contains(QStringLiteral("信用卡"));
}

// What a later bill may need to know of a line that converts: its number,
// or a payment made through a payment service with a card; null for
// other lines.
std::shared_ptr<SeenLine> SeenOf(const BillFacts &fact, int lineNumber,
                                 const QString &billName) {
  auto seen = std::make_shared<SeenLine>();
  seen->number = fact.number;
  seen->merchant = fact.merchant;
  seen->counterpart = fact.counterpart;
  seen->method = fact.method;
  seen->goods = fact.goods;
  seen->bill = billName;
  seen->line = lineNumber;
  // The amount as the bill gives it, before refunds lower it.
  seen->amount = fact.amount;
  seen->side = fact.side == BillSide::Out  ? 1
               : fact.side == BillSide::In ? 2
                                           : 0;
  return seen;
}

// Puts the moment of a line into its line seen: the date and time as its
// record stores them.
void FillSeen(const ColumnList &columns, const ImportMapping &mapping,
              CheckedLine &line) {
  if (!line.seen)
    return;
  QString date, time;
  for (const auto &[field, source] : mapping.fields) {
    const int position = columns.PositionOf(field);
    if (position < 0 || position >= line.texts.size())
      continue;
    const int type = columns.At(position).type;
    if (IsDatePickerType(type) && date.isEmpty())
      date = line.texts.at(position);
    else if (IsTimeOnlyType(type) && time.isEmpty())
      time = line.texts.at(position);
  }
  if (!time.isEmpty() && !date.contains(QLatin1Char(':')))
    date += QLatin1Char(' ') + time;
  line.seen->moment = date;
}

// The counts of the lines by state.
void CountLines(ImportCheck *check) {
  for (const CheckedLine &line : check->lines) {
    if (line.state == LineState::Bad)
      check->bad.append({line.lineNumber, line.reason});
    else if (line.state != LineState::Skipped)
      ++check->good;
    if (line.state == LineState::Duplicate)
      check->duplicateLines.append(line.lineNumber);
  }
}

} // namespace

bool CheckStatement(AccountFile &file, const OpenedStatement &statement,
                    const ImportChoices &choices, ImportCheck *check,
                    const ExchangeProgress &progress, bool *cancelled,
                    QString *error) {
  *check = ImportCheck();
  *cancelled = false;
  if (!ValidImportGroup(file, choices.groupId, error))
    return false;
  const ColumnList &columns = file.Columns();
  const ImportMapping &mapping = choices.mapping;
  // Nothing is stored without the date and the amount the statement gives.
  if (const QString problem = MappingProblem(columns, mapping);
      !problem.isEmpty()) {
    *error = problem;
    return false;
  }
  // The rules count the lines of this check: the lines stored are those
  // the user ticked of them.
  choices.rules.ResetMatches();
  const LineConverter converter(columns, mapping, statement.headers,
                                choices.rules, statement.periodEnd);
  const bool creditCard = IsCreditCard(statement, mapping);
  std::vector<BillFacts> facts;
  const bool bill = ReadsBill(mapping);
  const QString service = PaymentServiceIn(mapping.channel);
  const QString billName = SeenBillName(
      mapping.channel,
      statement.layout ? statement.layout->name : QString());
  QStringList headers;
  int done = 0;
  const bool read = ReadStatement(
      statement.path, mapping.format, &headers,
      [&](const SourceLine &line) {
        if (line.footer) {
          check->footerLines.append(line.lineNumber);
          return true;
        }
        CheckedLine checked;
        checked.lineNumber = line.lineNumber;
        QString note;
        QStringList texts;
        const bool converts = converter.Convert(line, &texts, &checked.reason,
                                                &checked.ruleSet, &note);
        checked.texts = texts;
        checked.state = converts ? LineState::New : LineState::Bad;
        checked.ticked = converts;
        if (converts)
          checked.reason = note;
        else {
          checked.texts.clear();
          checked.ruleSet.clear();
        }
        BillFacts fact = converter.FactsOf(line, converts);
        checked.number = fact.number;
        const bool throughService =
            !PaymentServiceIn(fact.goods + fact.counterpart).isEmpty() ||
            (!service.isEmpty() && !fact.method.isEmpty());
        if (converts && (!fact.number.isEmpty() || throughService))
          checked.seen = SeenOf(fact, line.lineNumber, billName);
        // A bill's lines are decided over the whole bill; a statement's
        // line by line.
        if (bill)
          facts.push_back(std::move(fact));
        else
          MarkOwnAccounts(mapping, creditCard, fact, checked);
        check->lines.push_back(std::move(checked));
        if (progress && !progress(++done)) {
          *cancelled = true;
          return false;
        }
        return true;
      },
      error);
  if (*cancelled || !read)
    return false;
  // What earlier bills left in the file, read once for the whole check.
  CDBVisiter *session = file.Session();
  const std::vector<SeenLine> before =
      session ? LoadSeenLines(*session) : std::vector<SeenLine>();
  DecideBillLines(columns, mapping, choices.refundsCancelPayments, facts,
                  before, check->lines);
  for (size_t i = 0; i < facts.size(); ++i)
    MarkOwnAccounts(mapping, creditCard, facts[i], check->lines[i]);
  facts.clear();
  facts.shrink_to_fit();
  for (CheckedLine &line : check->lines)
    FillSeen(columns, mapping, line);
  FindDuplicates(file, mapping, choices.groupId, before, check->lines);
  CountLines(check);
  return true;
}
