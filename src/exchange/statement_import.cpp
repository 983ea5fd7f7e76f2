// Importing a statement into a group; see statement_import.h.
#include "exchange/statement_import.h"

#include "db/db_visiter.h"
#include "exchange/bill_number_column.h"
#include "exchange/import_rule_store.h"
#include "exchange/statement_values.h"
#include "formula/evaluate_row.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "document/account_file.h"
#include "model/field_type.h"
#include "records/command_history.h"
#include "records/record_cell_text.h"
#include "records/row_item.h"

#include <QDateTime>

namespace {

constexpr int kSampleLines = 20;
constexpr int kBatch = 500;

bool IsNumberType(int type) {
  return type == FT_INTEGER || type == FT_FLOAT;
}

// The first group of the tree with the state bits, or any group when bits
// is 0; null when there is none.
GroupNode *FirstGroup(GroupNode &node, unsigned bits) {
  if (node.IsGroup() && (bits == 0 || node.HasState(bits)))
    return &node;
  for (const auto &child : node.children)
    if (GroupNode *found = FirstGroup(*child, bits))
      return found;
  return nullptr;
}

// Gives record the bill's number: in its column when the grid shows it, else
// as an item of its own, which the record's statements store all the same.
void SetBillNumber(CRowItem &record, const QString &number) {
  if (FieldValueItem *item = record.Item(BillNumberField())) {
    item->text = number;
    return;
  }
  FieldValueItem item;
  item.type = FT_TEXT;
  item.fieldName = BillNumberField();
  item.text = number;
  record.items.append(item);
}

// Whether a line's fields fit the header: as many, or differing only by
// empty fields at the end (a bill that ends its header line with a comma
// and its rows without one, or the other way round).
bool FieldsFitHeader(const QStringList &fields, const QStringList &headers) {
  const QStringList &longer = fields.size() > headers.size() ? fields : headers;
  const qsizetype shorter = std::min(fields.size(), headers.size());
  for (qsizetype i = shorter; i < longer.size(); ++i)
    if (!longer.at(i).trimmed().isEmpty())
      return false;
  return true;
}

} // namespace

StatementImport::StatementImport(AccountFile &file) : file_(file) {
  GroupNode *group = FirstGroup(file.Root(), GS_SELECTED);
  if (!group)
    group = FirstGroup(file.Root(), 0);
  groupId_ = group ? group->id : 0;
  rules_ = ImportRules(LoadImportRules(file));
}

bool StatementImport::Open(const QString &path, QString *error) {
  path_ = path;
  StatementFormat format;
  RecognisedBill bill;
  layout_ = nullptr;
  head_ = BillHead();
  if (RecogniseBill(path, &bill)) {
    format = bill.format;
    layout_ = bill.layout;
    head_ = bill.head;
  } else if (!DetectStatementFormat(path, &format, error)) {
    return false;
  }
  mapping_.format = format;
  if (!Reload(error))
    return false;
  if (format.kind != StatementKind::Ofx && headers_.size() < 2) {
    *error = QStringLiteral("文件不是可识别的对账单（CSV 或 OFX）！");
    return false;
  }
  signature_ = StatementSignature(format, headers_);
  mappingSaved_ = LoadFittingMapping(format);
  if (mappingSaved_)
    return true;
  mapping_ = layout_ ? BillImportMapping(*layout_, file_.Columns(), format,
                                         headers_, sample_)
                     : GuessImportMapping(file_.Columns(), format, headers_,
                                          sample_);
  return true;
}

bool StatementImport::LoadFittingMapping(const StatementFormat &format) {
  CDBVisiter *session = file_.Session();
  if (!session)
    return false;
  // A layout seen before brings back its mapping and its reading settings.
  // Older builds saved mappings under the column names alone; such a
  // mapping applies only when the file read with its settings has every
  // column it maps, as the file it was made for has.
  const ImportMapping read = mapping_;
  bool tried = false;
  for (const QString &signature :
       {signature_, StatementSignature(StatementFormat(), headers_)}) {
    ImportMapping saved;
    saved.format = format;
    if (!LoadImportMapping(*session, signature, &saved))
      continue;
    mapping_ = saved;
    tried = true;
    QString ignored;
    if (Reload(&ignored) && headers_.size() > 1 && MappedColumnsRead())
      return true;
  }
  // Back to the lines as the file was first read.
  mapping_ = read;
  QString ignored;
  if (tried)
    Reload(&ignored);
  return false;
}

bool StatementImport::MappedColumnsRead() const {
  QStringList sources{mapping_.amountColumn, mapping_.debitColumn,
                      mapping_.creditColumn};
  for (const auto &[field, source] : mapping_.fields)
    sources.append(source);
  for (const QString &source : sources)
    if (!source.isEmpty() && !headers_.contains(source))
      return false;
  return true;
}

bool StatementImport::Reload(QString *error) {
  sample_.clear();
  return ReadStatement(
      path_, mapping_.format, &headers_,
      [this](const SourceLine &line) {
        sample_.push_back(line);
        return sample_.size() < size_t(kSampleLines);
      },
      error);
}

QString StatementImport::Signature() const { return signature_; }

QStringList StatementImport::DateFormChoices() const {
  QStringList dates;
  for (const auto &[field, source] : mapping_.fields) {
    const int position = file_.Columns().PositionOf(field);
    const qsizetype index = headers_.indexOf(source);
    if (position < 0 || index < 0 ||
        !IsDatePickerType(file_.Columns().At(position).type))
      continue;
    for (const SourceLine &line : sample_)
      dates.append(line.fields.value(index));
  }
  return DetectDateForms(dates);
}

void StatementImport::GuessMapping() {
  mapping_ = GuessImportMapping(file_.Columns(), mapping_.format, headers_,
                                sample_);
  mappingSaved_ = false;
}

void StatementImport::DetectValueForms() {
  const QStringList forms = DateFormChoices();
  if (!forms.isEmpty() && !forms.contains(mapping_.dateForm))
    mapping_.dateForm = forms.first();
  QStringList amounts;
  auto add = [&](const QString &source) {
    const qsizetype index = headers_.indexOf(source);
    if (index < 0)
      return;
    for (const SourceLine &line : sample_)
      amounts.append(line.fields.value(index));
  };
  for (const auto &[field, source] : mapping_.fields) {
    const int position = file_.Columns().PositionOf(field);
    if (position >= 0 && IsNumberType(file_.Columns().At(position).type))
      add(source);
  }
  add(mapping_.amountColumn);
  add(mapping_.debitColumn);
  add(mapping_.creditColumn);
  mapping_.decimalComma = DetectDecimalComma(amounts);
}

bool StatementImport::ConvertLine(const SourceLine &line, QStringList *texts,
                                  QString *reason, QList<int> *ruleSet) const {
  const ColumnList &columns = file_.Columns();
  if (!line.problem.isEmpty()) {
    *reason = line.problem;
    return false;
  }
  if (mapping_.format.kind != StatementKind::Ofx &&
      !FieldsFitHeader(line.fields, headers_)) {
    *reason = QStringLiteral("字段数为%1，应为%2")
                  .arg(line.fields.size())
                  .arg(headers_.size());
    return false;
  }
  auto field = [&](const QString &source) {
    const qsizetype index = headers_.indexOf(source);
    return index >= 0 ? line.fields.value(index).trimmed() : QString();
  };
  texts->fill(QString(), columns.Size());
  for (const auto &[fieldName, source] : mapping_.fields) {
    const int position = columns.PositionOf(fieldName);
    if (position < 0 || columns.At(position).type == FT_KEY)
      continue;
    const int type = columns.At(position).type;
    const QString value = field(source);
    QString text = value;
    if (value.isEmpty()) {
      // An empty source leaves the column to its default.
    } else if (IsDatePickerType(type)) {
      text = DateText(value, type == FT_DATETIME);
      if (text.isNull()) {
        *reason = QStringLiteral("日期无法识别：%1").arg(value);
        return false;
      }
    } else if (IsTimeOnlyType(type)) {
      const DateValue time = ParseDateTime(value);
      if (!time.IsValid()) {
        *reason = QStringLiteral("时间无法识别：%1").arg(value);
        return false;
      }
      text = FormatDateTime(time, DTP_TIME);
    } else if (IsNumberType(type)) {
      double number = 0;
      if (!ParseAmount(value, mapping_.decimalComma, &number)) {
        *reason = QStringLiteral("数值无法识别：%1").arg(value);
        return false;
      }
      text = NumberText(number);
    }
    (*texts)[position] = text;
  }
  rules_.Apply(headers_, line.fields, columns, texts, ruleSet);
  if (columns.PositionOf(mapping_.amountField) < 0 ||
      (!mapping_.UsesDebitCredit() && mapping_.amountColumn.isEmpty()))
    return true;
  double amount = 0;
  bool neutral = false;
  if (!ReadAmount(line, &amount, &neutral, reason))
    return false;
  WriteAmount(amount, neutral, texts);
  return true;
}

bool StatementImport::ReadAmount(const SourceLine &line, double *amount,
                                 bool *neutral, QString *reason) const {
  auto field = [&](const QString &source) {
    const qsizetype index = headers_.indexOf(source);
    return index >= 0 ? line.fields.value(index).trimmed() : QString();
  };
  auto read = [&](const QString &source, double *value) {
    const QString text = field(source);
    if (text.isEmpty()) {
      *value = 0;
      return true;
    }
    if (ParseAmount(text, mapping_.decimalComma, value))
      return true;
    *reason = QStringLiteral("金额无法识别：%1").arg(text);
    return false;
  };
  *amount = 0;
  *neutral = false;
  if (mapping_.UsesDebitCredit()) {
    double debit = 0, credit = 0;
    if (!read(mapping_.debitColumn, &debit) ||
        !read(mapping_.creditColumn, &credit))
      return false;
    // Debits are money going out, whatever sign the bank writes them with.
    *amount = std::abs(credit) - std::abs(debit);
    if (field(mapping_.debitColumn).isEmpty() &&
        field(mapping_.creditColumn).isEmpty()) {
      *reason = QStringLiteral("没有金额");
      return false;
    }
  } else if (!mapping_.amountColumn.isEmpty()) {
    if (field(mapping_.amountColumn).isEmpty()) {
      *reason = QStringLiteral("没有金额");
      return false;
    }
    if (!read(mapping_.amountColumn, amount))
      return false;
  }
  // A bill writes amounts positive and their side in its 收/支 column.
  if (!mapping_.directionColumn.isEmpty()) {
    const BillSide side = SideOf(field(mapping_.directionColumn));
    *amount = side == BillSide::Out ? -std::abs(*amount) : std::abs(*amount);
    *neutral = side == BillSide::Neutral;
  }
  return true;
}

void StatementImport::WriteAmount(double amount, bool neutral,
                                  QStringList *texts) const {
  const ColumnList &columns = file_.Columns();
  const int amountPosition = columns.PositionOf(mapping_.amountField);
  if (amountPosition < 0 || amountPosition >= texts->size())
    return;
  const int direction = columns.PositionOf(mapping_.directionField);
  if (direction < 0 || direction >= texts->size()) {
    (*texts)[amountPosition] = NumberText(mapping_.negate ? -amount : amount);
    return;
  }
  if (!neutral && amount != 0)
    (*texts)[direction] =
        amount < 0 ? QStringLiteral("支出") : QStringLiteral("收入");
  (*texts)[amountPosition] = NumberText(std::abs(amount));
}

StatementImport::RecordStart
StatementImport::StartOfRecords(const QDateTime &now) const {
  return {CRowItem::EmptyRow(file_, groupId_),
          CRowItem::AutomaticDateText(now.date()),
          CRowItem::AutomaticTimeText(now.time())};
}

namespace {

// Whether text is a time of day as the date forms allow it after a date:
// "H:m" or "H:m:s".
bool IsTimeOfDay(QStringView text) {
  int parts = 0, digits = 0;
  for (const QChar c : text) {
    if (c.isDigit() && c.unicode() < 128 && ++digits <= 2)
      continue;
    if (c != QLatin1Char(':') || digits == 0)
      return false;
    ++parts;
    digits = 0;
  }
  return digits > 0 && (parts == 1 || parts == 2);
}

} // namespace

QString StatementImport::DateText(const QString &value, bool withTime) const {
  // A bill gives each payment its moment; the day alone is read once.
  const qsizetype space = value.indexOf(QLatin1Char(' '));
  if (!withTime && space > 0 &&
      IsTimeOfDay(QStringView(value).sliced(space + 1)))
    return DateText(value.left(space), false);
  // The form is part of the key: the dialog may change it between passes.
  const QString key = mapping_.dateForm + QChar(withTime ? u'1' : u'0') + value;
  const auto found = dateTexts_.constFind(key);
  if (found != dateTexts_.cend())
    return found.value();
  const DateValue date = ParseDateInForm(value, mapping_.dateForm);
  const QString text =
      date.IsValid() ? FormatDateTime(date, withTime ? DTP_BOTH : DTP_DATE)
                     : QString();
  if (dateTexts_.size() >= 4096)
    dateTexts_.clear();
  dateTexts_.insert(key, text);
  return text;
}

CRowItem StatementImport::MakeRecord(const QStringList &texts, int key,
                                     const QDateTime &now) const {
  return MakeRecord(texts, key, StartOfRecords(now));
}

CRowItem StatementImport::MakeRecord(const QStringList &texts, int key,
                                     const RecordStart &start,
                                     bool *finite) const {
  CRowItem row = start.empty;
  for (qsizetype i = 0; i < row.items.size() && i < texts.size(); ++i)
    row.items[i].text = texts.at(i);
  row.FillNewRowDefaults(key, start.date, start.time);
  // The automatic date and time of now give way to mapped values.
  for (qsizetype i = 0; i < row.items.size() && i < texts.size(); ++i) {
    if (texts.at(i).isEmpty())
      continue;
    row.items[i].text = texts.at(i);
    row.items[i].applyingDefault = false;
  }
  const bool allFinite = EvaluateRow(row.items);
  if (finite)
    *finite = allFinite;
  return row;
}

QString StatementImport::DuplicateKey(const QStringList &texts) const {
  const ColumnList &columns = file_.Columns();
  QStringList parts;
  QList<int> positions;
  for (const auto &[fieldName, source] : mapping_.fields)
    positions.append(columns.PositionOf(fieldName));
  positions.append(columns.PositionOf(mapping_.amountField));
  std::sort(positions.begin(), positions.end());
  for (const int position : positions) {
    if (position < 0 || position >= texts.size())
      continue;
    const int type = columns.At(position).type;
    const QString text = texts.at(position).trimmed();
    if (IsDatePickerType(type) || IsTimeOnlyType(type)) {
      const DateValue value = ParseDateTime(text);
      parts.append(value.IsValid() ? FormatDateTime(value) : text);
    } else if (IsNumberType(type)) {
      bool ok = false;
      const double number = text.toDouble(&ok);
      parts.append(ok ? NumberText(number) : text);
    } else {
      parts.append(text);
    }
  }
  return parts.join(QChar(0x1F));
}

QHash<QString, int> StatementImport::ExistingKeys() const {
  QHash<QString, int> keys;
  CDBVisiter *session = file_.Session();
  if (!session)
    return keys;
  const ColumnList &columns = file_.Columns();
  if (session->Query(QStringLiteral("Select * From Users Where "
                                    "trelva_Group_ID=%1")
                         .arg(groupId_)) == 0)
    return keys;
  do {
    QStringList texts;
    for (const ColumnDef &column : columns.All())
      texts.append(session->GetString(column.fieldName));
    ++keys[DuplicateKey(texts)];
  } while (session->MoveNext());
  session->CloseResult();
  return keys;
}

bool StatementImport::TakeDuplicate(QHash<QString, int> &existing,
                                    const QStringList &texts) const {
  // An empty group has no duplicates to look for.
  if (existing.isEmpty())
    return false;
  const auto found = existing.find(DuplicateKey(texts));
  if (found == existing.end() || found.value() == 0)
    return false;
  --found.value();
  return true;
}

bool StatementImport::ValidGroup(QString *error) const {
  const GroupNode *group = FindGroupNode(file_.Root(), groupId_);
  if (group && group->IsGroup())
    return true;
  *error = QStringLiteral("目标分组不存在！");
  return false;
}

int ImportCheck::Count(LineState state) const {
  return int(std::count_if(lines.cbegin(), lines.cend(),
                           [state](const CheckedLine &line) {
                             return line.state == state;
                           }));
}

QSet<int> ImportCheck::TickedLines() const {
  QSet<int> ticked;
  for (const CheckedLine &line : lines)
    if (line.ticked)
      ticked.insert(line.lineNumber);
  return ticked;
}

bool StatementImport::IsBill() const {
  return !mapping_.directionColumn.isEmpty() ||
         !mapping_.statusColumn.isEmpty();
}

QString StatementImport::BillNumberOf(const SourceLine &line) const {
  if (mapping_.numberColumn.isEmpty())
    return {};
  const qsizetype index = headers_.indexOf(mapping_.numberColumn);
  const QString number =
      index >= 0 ? line.fields.value(index).trimmed() : QString();
  return number == QLatin1String("/") ? QString() : number;
}

BillFacts StatementImport::FactsOf(const SourceLine &line, bool read) const {
  // Bills write "/" where a line has no such value.
  auto field = [&](const QString &source) {
    const qsizetype index = source.isEmpty() ? -1 : headers_.indexOf(source);
    const QString value =
        index >= 0 ? line.fields.value(index).trimmed() : QString();
    return value == QLatin1String("/") ? QString() : value;
  };
  BillFacts facts;
  facts.lineNumber = line.lineNumber;
  facts.read = read;
  facts.status = field(mapping_.statusColumn);
  facts.kind = field(mapping_.kindColumn);
  facts.number = BillNumberOf(line);
  facts.merchant = field(mapping_.merchantColumn);
  facts.counterpart = field(mapping_.counterpartColumn);
  double amount = 0, refunded = 0;
  bool neutral = false;
  QString reason;
  if (read && ReadAmount(line, &amount, &neutral, &reason)) {
    facts.amount = std::abs(amount);
    facts.side = neutral     ? BillSide::Neutral
                 : amount < 0 ? BillSide::Out
                              : BillSide::In;
  }
  if (ParseAmount(field(mapping_.refundedColumn), false, &refunded))
    facts.refunded = std::abs(refunded);
  return facts;
}

void StatementImport::DecideBillLines(const std::vector<BillFacts> &facts,
                                      std::vector<CheckedLine> &lines) const {
  if (!IsBill())
    return;
  const bool sides = file_.Columns().PositionOf(mapping_.directionField) >= 0;
  const std::vector<BillOutcome> outcomes =
      ClassifyBillLines(facts, refundsCancelPayments_);
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
    if (outcome.refundIncome || outcome.amount >= 0) {
      const double amount =
          outcome.amount >= 0 ? outcome.amount : facts[i].amount;
      WriteAmount(side == BillSide::Out ? -amount : amount, false,
                  &line.texts);
    }
    if (side == BillSide::Neutral && !mapping_.directionColumn.isEmpty()) {
      line.ticked = false;
      line.reason = QStringLiteral("不计收支");
    } else if (side == BillSide::In && !mapping_.directionColumn.isEmpty() &&
               !sides) {
      line.ticked = false;
      line.reason = QStringLiteral("账簿没有收支列");
    }
  }
}

void StatementImport::FindDuplicates(std::vector<CheckedLine> &lines) {
  QHash<QString, int> existing = ExistingKeys();
  CDBVisiter *session = file_.Session();
  const QSet<QString> stored = session && HasBillNumberColumn(*session)
                                   ? StoredBillNumbers(*session)
                                   : QSet<QString>();
  QHash<QString, int> seen; // number -> line of this statement
  for (CheckedLine &line : lines) {
    if (line.state != LineState::New)
      continue;
    QString reason;
    if (!line.number.isEmpty()) {
      if (stored.contains(line.number))
        reason = QStringLiteral("交易单号已导入：%1").arg(line.number);
      else if (const int earlier = seen.value(line.number))
        reason = QStringLiteral("交易单号与第%1行相同").arg(earlier);
      else
        seen.insert(line.number, line.lineNumber);
    } else if (TakeDuplicate(existing, line.texts)) {
      reason = QStringLiteral("与已有记录相同");
    }
    if (reason.isEmpty())
      continue;
    line.state = LineState::Duplicate;
    line.ticked = false;
    line.reason = reason;
  }
}

bool StatementImport::ReadLine(int lineNumber, SourceLine *line,
                               QString *error) const {
  QStringList headers;
  bool found = false;
  const bool read = ReadStatement(
      path_, mapping_.format, &headers,
      [&](const SourceLine &each) {
        if (each.lineNumber != lineNumber)
          return each.lineNumber < lineNumber;
        *line = each;
        found = true;
        return false;
      },
      error);
  if (read && !found)
    *error = QStringLiteral("对账单中没有第%1行").arg(lineNumber);
  return read && found;
}

bool StatementImport::Check(ImportCheck *check,
                            const ExchangeProgress &progress,
                            QString *error) {
  bool cancelled = false;
  if (CheckLines(check, progress, &cancelled, error))
    return true;
  if (cancelled)
    *error = QStringLiteral("已取消");
  return false;
}

bool StatementImport::CheckLines(ImportCheck *check,
                                 const ExchangeProgress &progress,
                                 bool *cancelled, QString *error) {
  *check = ImportCheck();
  *cancelled = false;
  if (!ValidGroup(error))
    return false;
  // The rules count the lines of this check: the lines stored are those
  // the user ticked of them.
  rules_.ResetMatches();
  std::vector<BillFacts> facts;
  const bool bill = IsBill();
  QStringList headers;
  int done = 0;
  const bool read = ReadStatement(
      path_, mapping_.format, &headers,
      [&](const SourceLine &line) {
        CheckedLine checked;
        checked.lineNumber = line.lineNumber;
        const bool converts =
            ConvertLine(line, &checked.texts, &checked.reason,
                        &checked.ruleSet);
        checked.state = converts ? LineState::New : LineState::Bad;
        checked.ticked = converts;
        if (!converts) {
          checked.texts.clear();
          checked.ruleSet.clear();
        }
        // A statement that is no bill needs only the numbers, if any.
        if (bill)
          facts.push_back(FactsOf(line, converts));
        checked.number = bill ? facts.back().number : BillNumberOf(line);
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
  DecideBillLines(facts, check->lines);
  FindDuplicates(check->lines);
  for (const CheckedLine &line : check->lines) {
    if (line.state == LineState::Bad)
      check->bad.append({line.lineNumber, line.reason});
    else if (line.state != LineState::Skipped)
      ++check->good;
    if (line.state == LineState::Duplicate)
      check->duplicateLines.append(line.lineNumber);
  }
  return true;
}

int StatementImport::Store(const QSet<int> &includeDuplicates,
                           const ExchangeProgress &progress, bool *cancelled,
                           QString *error) {
  ImportCheck check;
  if (!CheckLines(&check, progress, cancelled, error))
    return *cancelled ? 0 : -1;
  QSet<int> ticked = check.TickedLines();
  for (const int line : check.duplicateLines)
    if (includeDuplicates.contains(line))
      ticked.insert(line);
  return Store(check, ticked, progress, cancelled, error);
}

int StatementImport::Store(const ImportCheck &check, const QSet<int> &ticked,
                           const ExchangeProgress &progress, bool *cancelled,
                           QString *error) {
  *cancelled = false;
  CDBVisiter *session = file_.Session();
  if (!session) {
    *error = QStringLiteral("没有打开的账簿文件！");
    return -1;
  }
  if (!ValidGroup(error))
    return -1;
  GroupNode &group = *FindGroupNode(file_.Root(), groupId_);
  const int firstKey = group.largestKey;
  int key = firstKey;
  const RecordStart start = StartOfRecords(QDateTime::currentDateTime());
  CommandHistory &history = file_.History();
  auto stored = [&](const CheckedLine &line) {
    return line.state != LineState::Bad && ticked.contains(line.lineNumber);
  };
  const bool numbered =
      std::any_of(check.lines.cbegin(), check.lines.cend(),
                  [&](const CheckedLine &line) {
                    return stored(line) && !line.number.isEmpty();
                  });

  // One unit of work and one command group for the whole import, the
  // column that keeps the bills' numbers included.
  if (!session->BeginTransaction()) {
    *error = QStringLiteral("无法开始写入账簿文件！");
    return -1;
  }
  if (numbered && !HasBillNumberColumn(*session) &&
      !AddBillNumberColumn(*session)) {
    session->RollbackTransaction();
    *error = QStringLiteral("无法在账簿文件中添加交易单号列！");
    return -1;
  }
  history.BeginGroup();
  int count = 0, done = 0;
  QList<CRowItem> batch;
  auto flush = [&] {
    if (!batch.isEmpty())
      count += history.AddRows(std::move(batch));
    batch = {};
  };
  // The line whose formulas gave no number; the import stops there.
  int notFiniteLine = 0;
  for (const CheckedLine &line : check.lines) {
    if (stored(line)) {
      bool finite = true;
      CRowItem record = MakeRecord(line.texts, ++key, start, &finite);
      if (!finite) {
        notFiniteLine = line.lineNumber;
        break;
      }
      if (!line.number.isEmpty())
        SetBillNumber(record, line.number);
      batch.append(std::move(record));
      if (batch.size() >= kBatch)
        flush();
    }
    if (progress && !progress(++done)) {
      *cancelled = true;
      break;
    }
  }
  if (!*cancelled && notFiniteLine == 0)
    flush();
  if (notFiniteLine > 0)
    *error = QStringLiteral("第%1行：计算结果超出数值范围或无意义").arg(notFiniteLine);
  if (*cancelled || notFiniteLine > 0) {
    history.DiscardGroup();
    session->RollbackTransaction();
    group.largestKey = firstKey;
    return *cancelled ? 0 : -1;
  }
  // All lines or none: a group that could not be committed has been
  // undone, and rows shown meanwhile go when the pages reload.
  if (!history.EndGroup()) {
    session->RollbackTransaction();
    group.largestKey = firstKey;
    *error = QStringLiteral("写入账簿文件失败！");
    return -1;
  }
  if (!session->CommitTransaction()) {
    group.largestKey = firstKey;
    file_.Notify(HINT_RECORDS | HINT_PIE_SERIES | HINT_BAR_SERIES);
    *error = QStringLiteral("写入账簿文件失败！");
    return -1;
  }
  group.largestKey = key;
  if (count > 0)
    file_.Notify(HINT_RECORDS);
  return count;
}

bool StatementImport::SaveMapping() {
  return file_.Session() &&
         SaveImportMapping(*file_.Session(), Signature(), mapping_);
}
